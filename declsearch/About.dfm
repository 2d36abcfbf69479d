object AboutDlg: TAboutDlg
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'About...'
  ClientHeight = 187
  ClientWidth = 386
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnShow = FormShow
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 368
    Height = 132
    Color = clBtnFace
    TabStop = False
    BevelOuter = bvLowered
    object FileDescription: TLabel
      Left = 12
      Top = 10
      Width = 39
      Height = 12
      Caption = 'Delvo +'
      ParentFont = False
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
    end
    object VerLabel: TLabel
      Left = 12
      Top = 30
      Width = 21
      Height = 12
      Caption = 'Ver.'
    end
    object FileVersion: TLabel
      Left = 42
      Top = 30
      Width = 3
      Height = 12
    end
    object Credits1: TCredits
      Left = 172
      Top = 8
      Width = 188
      Height = 116
      ParentFont = False
      Font.Color = clWhite
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = []
      NumberPolygons = 3
      Credits = (
        'Delvo +'
        ''
        'Declarations found'
        'in every unit'
        'of your project,'
        ''
        'written by the'
        'Delvo team'
        ''
        'Thanks for searching!')
    end
  end
  object OKButton: TButton
    Left = 158
    Top = 150
    Width = 75
    Height = 25
    Caption = 'OK'
    Cancel = True
    Default = True
    ModalResult = 1
  end
end
