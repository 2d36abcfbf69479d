object ResourceForm: TResourceForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'From the resource'
  ClientHeight = 120
  ClientWidth = 240
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  ActiveControl = edtName
  OnCreate = FormCreate
  object pnlTop: TPanel
    Left = 0
    Top = 0
    Width = 240
    Height = 41
    Color = clBtnFace
    Align = alTop
    TabStop = False
    object lblName: TLabel
      Left = 8
      Top = 14
      Width = 30
      Height = 12
      Caption = '&Name:'
      FocusControl = edtName
    end
  end
  object edtName: TEdit
    Left = 8
    Top = 56
    Width = 121
    Height = 21
    Text = 'Bob'
  end
  object btnOK: TButton
    Left = 80
    Top = 88
    Width = 75
    Height = 25
    Caption = 'OK'
    ModalResult = 1
    OnClick = btnOKClick
  end
  object First: TLoadProbe
  end
  object Second: TLoadProbe
  end
end
