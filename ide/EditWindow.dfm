object EditWindow: TEditWindow
  Left = 0
  Top = 0
  ClientHeight = 213
  ClientWidth = 312
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  KeyPreview = True
  OnClose = FormClose
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  object StatusBar: TStatusBar
    Left = 0
    Top = 194
    Width = 312
    Height = 19
    Color = clBtnFace
    ParentColor = False
    Align = alBottom
    Panels = <
      item
        Width = 90
      end
      item
        Width = 80
      end
      item
        Width = 80
      end>
  end
  object FileTabs: TTabControl
    Left = 0
    Top = 0
    Width = 312
    Height = 194
    Color = clBtnFace
    ParentColor = False
    Align = alClient
    TabStop = True
    OnChange = FileTabsChange
  end
end
