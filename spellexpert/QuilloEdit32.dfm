object IDESpeller: TIDESpeller
  Left = 100
  Top = 100
  Caption = 'Quillo'
  ClientHeight = 453
  ClientWidth = 632
  Font.Color = clWindowText
  Font.Height = -14
  Font.Name = 'MS Sans Serif'
  Font.Style = [fsBold]
  OnClose = FormClose
  OnCreate = FormCreate
  OnResize = FormResize
  OnShow = FormShow
  object TabControl1: TTabControl
    Left = 0
    Top = 0
    Width = 632
    Height = 434
    Color = clBtnFace
    ParentColor = False
    Align = alClient
    TabStop = True
    Tabs.Strings = (
      'PROJECT.DPR')
    object Editor1: TZelTextFileEditor
      Left = 4
      Top = 28
      Width = 624
      Height = 410
      Color = clWindow
      TabStop = True
      CaretOvr.Shape = csBlock
      FixedFont.Color = clBlack
      FixedFont.Name = 'Courier New'
      FixedFont.Size = 9
      FixedFont.Style = []
      HideSelection = False
      HighlightColors.BackColor = clHighlight
      HighlightColors.TextColor = clHighlightText
      RightMargin = 5
      BackupExt = 'BAK'
      OnDrawLine = Editor1DrawLine
      OnTopLineChanged = Editor1TopLineChanged
    end
  end
  object Status: TStatusBar
    Left = 0
    Top = 434
    Width = 632
    Height = 19
    Color = clBtnFace
    ParentColor = False
    Align = alBottom
    Panels = <
      item
        Alignment = taCenter
        Text = '249:1'
        Width = 80
      end
      item
        Alignment = taCenter
        Text = 'Modified'
        Width = 80
      end
      item
        Text = 'Overwrite'
        Width = 50
      end>
    SimpleText = 'Insert'
  end
  object ZelController1: TZelController
    EntryCommands.TableList = (
      'Default'
      True
      'WordStar'
      False
      'Grid'
      False)
  end
  object SpellDlg1: TSpellQuillo
    AutoSuggest = False
    DictionaryPath = 'APPLICATIONPATH'
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    UserDictionary = '.\USERDCT.TXT'
  end
end
