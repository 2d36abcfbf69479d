object dialogPath: TdialogPath
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = ' Select Path'
  ClientHeight = 246
  ClientWidth = 301
  Font.Color = clBlack
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  ActiveControl = dlbPath
  Position = poScreenCenter
  OnCreate = FormCreate
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 285
    Height = 192
    Color = clBtnFace
    TabStop = False
    BevelOuter = bvLowered
    object Label1: TLabel
      Left = 10
      Top = 10
      Width = 33
      Height = 12
      Caption = 'Folder:'
    end
    object lblPath: TLabel
      Left = 10
      Top = 28
      Width = 265
      Height = 13
      AutoSize = False
    end
    object dlbPath: TDirectoryListBox
      Left = 10
      Top = 46
      Width = 265
      Height = 84
      DirLabel = lblPath
      IntegralHeight = True
      ItemHeight = 16
    end
    object Label2: TLabel
      Left = 10
      Top = 140
      Width = 34
      Height = 12
      Caption = 'Drives:'
    end
    object dcbPathDrv: TDriveComboBox
      Left = 10
      Top = 158
      Width = 265
      Height = 21
      OnChange = OnDcbPathDrvChange
    end
  end
  object btnOk: TButton
    Left = 137
    Top = 212
    Width = 75
    Height = 25
    Caption = '&Ok'
    Default = True
    ModalResult = 1
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 218
    Top = 212
    Width = 75
    Height = 25
    Caption = '&Cancel'
    Cancel = True
    ModalResult = 2
  end
end
