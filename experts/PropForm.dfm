object frmProperties: TfrmProperties
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Property Expert'
  ClientHeight = 305
  ClientWidth = 424
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  ShowHint = True
  OnCreate = FormCreate
  OnShow = FormShow
  object pgeProperties: TPageControl
    Left = 6
    Top = 6
    Width = 412
    Height = 220
    Color = clBtnFace
    ParentColor = False
    TabStop = True
    OnChanging = pgePropertiesChanging
    ActivePage = tabName
    object tabName: TTabSheet
      Left = 4
      Top = 4
      Width = 404
      Height = 212
      Caption = 'Property'
      Align = alClient
      TabStop = False
      TabVisible = False
      object Label1: TLabel
        Left = 8
        Top = 11
        Width = 30
        Height = 12
        Caption = '&Class:'
      end
      object cbxClass: TComboBox
        Left = 110
        Top = 8
        Width = 180
        Height = 21
        Hint = 'Choose a class from the current unit'
        Style = csDropDownList
      end
      object Label2: TLabel
        Left = 8
        Top = 39
        Width = 30
        Height = 12
        Caption = '&Name:'
      end
      object edtName: TEdit
        Left = 110
        Top = 36
        Width = 180
        Height = 21
        Hint = 'Enter the name of the property'
        OnExit = edtNameExit
        OnChange = edtNameChange
      end
      object Label3: TLabel
        Left = 8
        Top = 67
        Width = 42
        Height = 12
        Caption = '&Visibility:'
      end
      object cbxVisibility: TComboBox
        Left = 110
        Top = 64
        Width = 180
        Height = 21
        Style = csDropDownList
        OnExit = cbxVisibilityExit
      end
      object Label4: TLabel
        Left = 8
        Top = 95
        Width = 27
        Height = 12
        Caption = '&Type:'
      end
      object cbxDataType: TComboBox
        Left = 110
        Top = 92
        Width = 180
        Height = 21
      end
      object optTypeSimple: TRadioButton
        Left = 110
        Top = 118
        Width = 70
        Height = 17
        Caption = 'Simple'
        TabStop = False
        OnClick = optTypeSimpleClick
      end
      object optTypeEnum: TRadioButton
        Left = 180
        Top = 118
        Width = 90
        Height = 17
        Caption = 'Enumerated'
        TabStop = False
        OnClick = optTypeSimpleClick
      end
      object optTypeProc: TRadioButton
        Left = 275
        Top = 118
        Width = 70
        Height = 17
        Caption = 'Events'
        TabStop = False
        OnClick = optTypeSimpleClick
      end
      object Label5: TLabel
        Left = 8
        Top = 145
        Width = 31
        Height = 12
        Caption = '&Array:'
      end
      object chkArray: TCheckBox
        Left = 110
        Top = 144
        Width = 50
        Height = 17
        Caption = 'Yes'
        OnClick = chkArrayClick
      end
      object edtArrayIndexes: TEdit
        Left = 165
        Top = 142
        Width = 180
        Height = 21
      end
      object chkArrayDefault: TCheckBox
        Left = 110
        Top = 168
        Width = 200
        Height = 17
        Caption = 'Default Array Property'
      end
    end
    object tabAccess: TTabSheet
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      Caption = 'Storage'
      Visible = False
      Align = alClient
      TabStop = False
      TabVisible = False
      object grpRead: TGroupBox
        Left = 6
        Top = 4
        Width = 196
        Height = 120
        Caption = 'Read'
        TabStop = False
        object optReadNone: TRadioButton
          Left = 8
          Top = 16
          Width = 180
          Height = 17
          Caption = 'None (Write Only)'
          TabStop = False
          OnClick = optReadNoneClick
        end
        object optReadDirect: TRadioButton
          Left = 8
          Top = 36
          Width = 90
          Height = 17
          Caption = 'Data Field'
          TabStop = False
          OnClick = optReadDirectClick
        end
        object edtReadField: TEdit
          Left = 20
          Top = 54
          Width = 168
          Height = 21
          OnExit = edtReadFieldExit
        end
        object optReadMethod: TRadioButton
          Left = 8
          Top = 76
          Width = 90
          Height = 17
          Caption = 'Method'
          TabStop = False
          OnClick = optReadMethodClick
        end
        object edtReadMethod: TEdit
          Left = 20
          Top = 94
          Width = 168
          Height = 21
          OnExit = edtReadMethodExit
        end
      end
      object grpWrite: TGroupBox
        Left = 206
        Top = 4
        Width = 196
        Height = 120
        Caption = 'Write'
        TabStop = False
        object optWriteNone: TRadioButton
          Left = 8
          Top = 16
          Width = 180
          Height = 17
          Caption = 'None (Read Only)'
          TabStop = False
          OnClick = optWriteNoneClick
        end
        object optWriteDirect: TRadioButton
          Left = 8
          Top = 36
          Width = 90
          Height = 17
          Caption = 'Data Field'
          TabStop = False
          OnClick = optWriteDirectClick
        end
        object edtWriteField: TEdit
          Left = 20
          Top = 54
          Width = 168
          Height = 21
          OnExit = edtWriteFieldExit
        end
        object optWriteMethod: TRadioButton
          Left = 8
          Top = 76
          Width = 90
          Height = 17
          Caption = 'Method'
          TabStop = False
          OnClick = optWriteMethodClick
        end
        object edtWriteMethod: TEdit
          Left = 20
          Top = 94
          Width = 168
          Height = 21
          OnExit = edtWriteMethodExit
        end
      end
      object chkSameReadWriteField: TCheckBox
        Left = 8
        Top = 130
        Width = 260
        Height = 17
        Caption = 'Use the &same Read / Write data field '
      end
      object Label6: TLabel
        Left = 8
        Top = 157
        Width = 78
        Height = 12
        Caption = 'Method visibility:'
      end
      object cbxMethodVisibility: TComboBox
        Left = 110
        Top = 154
        Width = 90
        Height = 21
        Style = csDropDownList
        OnExit = cbxMethodVisibilityExit
      end
      object Label7: TLabel
        Left = 210
        Top = 157
        Width = 45
        Height = 12
        Caption = 'Override:'
      end
      object cbxOverride: TComboBox
        Left = 270
        Top = 154
        Width = 90
        Height = 21
        Style = csDropDownList
        OnExit = cbxOverrideExit
      end
    end
    object tabOther: TTabSheet
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      Caption = 'Other'
      Visible = False
      Align = alClient
      TabStop = False
      TabVisible = False
      object chkDefault: TCheckBox
        Left = 8
        Top = 12
        Width = 90
        Height = 17
        Caption = '&Default'
        OnClick = chkDefaultClick
      end
      object edtDefault: TEdit
        Left = 110
        Top = 10
        Width = 200
        Height = 21
      end
      object chkIndex: TCheckBox
        Left = 8
        Top = 42
        Width = 90
        Height = 17
        Caption = '&Index'
        OnClick = chkIndexClick
      end
      object edtIndex: TEdit
        Left = 110
        Top = 40
        Width = 200
        Height = 21
      end
      object chkStorage: TCheckBox
        Left = 8
        Top = 72
        Width = 90
        Height = 17
        Caption = '&Stored'
        OnClick = chkStorageClick
      end
      object edtStorage: TEdit
        Left = 110
        Top = 70
        Width = 200
        Height = 21
      end
    end
    object tabOptions: TTabSheet
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      Caption = 'Options'
      Visible = False
      Align = alClient
      TabStop = False
      TabVisible = False
      object Label8: TLabel
        Left = 8
        Top = 9
        Width = 49
        Height = 12
        Caption = 'Data type:'
      end
      object cbxOptDataType: TComboBox
        Left = 100
        Top = 6
        Width = 100
        Height = 21
      end
      object Label9: TLabel
        Left = 208
        Top = 9
        Width = 42
        Height = 12
        Caption = 'Visibility:'
      end
      object cbxOptVisibility: TComboBox
        Left = 300
        Top = 6
        Width = 100
        Height = 21
        Style = csDropDownList
      end
      object chkOptArray: TCheckBox
        Left = 8
        Top = 36
        Width = 80
        Height = 17
        Caption = 'Array'
      end
      object edtOptArrayIndex: TEdit
        Left = 100
        Top = 34
        Width = 100
        Height = 21
      end
      object Label10: TLabel
        Left = 8
        Top = 65
        Width = 67
        Height = 12
        Caption = 'Read access:'
      end
      object cbxOptReadAccessType: TComboBox
        Left = 100
        Top = 62
        Width = 100
        Height = 21
        Style = csDropDownList
      end
      object Label11: TLabel
        Left = 208
        Top = 65
        Width = 59
        Height = 12
        Caption = 'Read prefix:'
      end
      object edtOptReadMethodPrefix: TEdit
        Left = 300
        Top = 62
        Width = 100
        Height = 21
      end
      object Label12: TLabel
        Left = 8
        Top = 93
        Width = 67
        Height = 12
        Caption = 'Write access:'
      end
      object cbxOptWriteAccessType: TComboBox
        Left = 100
        Top = 90
        Width = 100
        Height = 21
        Style = csDropDownList
      end
      object Label13: TLabel
        Left = 208
        Top = 93
        Width = 59
        Height = 12
        Caption = 'Write prefix:'
      end
      object edtOptWriteMethodPrefix: TEdit
        Left = 300
        Top = 90
        Width = 100
        Height = 21
      end
      object Label14: TLabel
        Left = 8
        Top = 121
        Width = 56
        Height = 12
        Caption = 'Field prefix:'
      end
      object edtOptDataFieldPrefix: TEdit
        Left = 100
        Top = 118
        Width = 100
        Height = 21
      end
      object Label15: TLabel
        Left = 8
        Top = 149
        Width = 78
        Height = 12
        Caption = 'Method visibility:'
      end
      object cbxOptMethodVisibility: TComboBox
        Left = 100
        Top = 146
        Width = 100
        Height = 21
        Style = csDropDownList
      end
      object Label16: TLabel
        Left = 208
        Top = 149
        Width = 45
        Height = 12
        Caption = 'Override:'
      end
      object cbxOptMethodOverride: TComboBox
        Left = 300
        Top = 146
        Width = 100
        Height = 21
        Style = csDropDownList
      end
    end
  end
  object btnBack: TButton
    Left = 6
    Top = 234
    Width = 75
    Height = 25
    Caption = '&Back'
    OnClick = btnBackClick
  end
  object btnNext: TButton
    Left = 86
    Top = 234
    Width = 75
    Height = 25
    Caption = '&Next'
    OnClick = btnNextClick
  end
  object btnOK: TButton
    Left = 178
    Top = 234
    Width = 75
    Height = 25
    Caption = 'Insert'
    Default = True
    ModalResult = 1
    OnClick = btnOKClick
  end
  object btnCancel: TButton
    Left = 258
    Top = 234
    Width = 75
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    OnClick = btnCancelClick
  end
  object btnOptions: TButton
    Left = 343
    Top = 234
    Width = 75
    Height = 25
    Caption = '&Options'
    Hint = 'Configure Expert'
    OnClick = btnOptionsClick
  end
  object barStatus: TStatusBar
    Left = 0
    Top = 286
    Width = 424
    Height = 19
    Color = clBtnFace
    ParentColor = False
    Align = alBottom
    Panels = <
      item
        Width = 85
      end
      item
        Width = 50
      end>
  end
end
