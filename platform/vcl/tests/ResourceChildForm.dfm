inherited ResourceChildForm: TResourceChildForm
  Caption = 'Inherited'
  ClientHeight = 150
  inherited pnlTop: TPanel
    inherited lblName: TLabel
      Left = 12
    end
  end
  inherited edtName: TEdit
    Text = ''
  end
  inherited btnOK: TButton
    ModalResult = 0
    OnClick = btnChildOKClick
  end
  object btnCancel: TButton
    Left = 160
    Top = 88
    Width = 75
    Height = 25
    Caption = 'Cancel'
    ModalResult = 2
  end
  inherited First: TLoadProbe
  end
  inherited Second: TLoadProbe
  end
end
