object ProjectManager: TProjectManager
  Left = 650
  Top = 120
  Caption = 'Project Manager'
  ClientHeight = 233
  ClientWidth = 292
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  KeyPreview = True
  OnKeyDown = FormKeyDown
  object UnitList: TListBox
    Left = 0
    Top = 0
    Width = 292
    Height = 233
    Align = alClient
    ItemHeight = 12
    OnDblClick = UnitListDblClick
  end
end
