object WordForm: TWordForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Word Count'
  ClientHeight = 97
  ClientWidth = 209
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  object lblWordsCaption: TLabel
    Left = 16
    Top = 14
    Width = 35
    Height = 12
    Caption = 'Words:'
  end
  object lblUniqueCaption: TLabel
    Left = 16
    Top = 36
    Width = 71
    Height = 12
    Caption = 'Unique Words:'
  end
  object lblWords: TLabel
    Left = 112
    Top = 14
    Width = 6
    Height = 12
    Caption = '0'
  end
  object lblUniqueWords: TLabel
    Left = 112
    Top = 36
    Width = 6
    Height = 12
    Caption = '0'
  end
  object btnOk: TButton
    Left = 67
    Top = 62
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    OnClick = btnOkClick
  end
end
