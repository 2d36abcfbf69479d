object frmPathEdit: TfrmPathEdit
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  ClientHeight = 67
  ClientWidth = 379
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  ActiveControl = Edit1
  Position = poScreenCenter
  ShowHint = True
  OnShow = FormShow
  object Edit1: TEdit
    Left = 8
    Top = 8
    Width = 363
    Height = 21
    OnChange = Edit1Change
  end
  object btnOk: TButton
    Left = 134
    Top = 36
    Width = 75
    Height = 25
    Caption = '&Ok'
    Enabled = False
    Hint = 'Save library alias details'
    HelpContext = 11
    Default = True
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 215
    Top = 36
    Width = 75
    Height = 25
    Caption = '&Cancel'
    Hint = 'Cancel update of library alias'
    HelpContext = 12
    Cancel = True
    ModalResult = 2
  end
  object btnBrowse: TButton
    Left = 296
    Top = 36
    Width = 75
    Height = 25
    Caption = 'Browse ...'
    OnClick = btnBrowseClick
  end
  object AvPathDialog1: TAvPathDialog
    Caption = ' Select Path'
    FixedOnly = True
  end
end
