inherited MSSpellDlg: TMSSpellDlg
  Caption = 'Spelling'
  ClientHeight = 242
  ClientWidth = 512
  object lblFound: TLabel
    Left = 8
    Top = 12
    Width = 81
    Height = 12
    Caption = 'Not in Dictionary:'
  end
  object edtCurWord: TEnterEdit
    Left = 108
    Top = 8
    Width = 200
    Height = 21
  end
  object lblReplace: TLabel
    Left = 8
    Top = 40
    Width = 55
    Height = 12
    Caption = 'Change &To:'
    FocusControl = edtWord
  end
  object edtWord: TEnterEdit
    Left = 108
    Top = 36
    Width = 200
    Height = 21
    OnKeyUp = QuickSuggest
  end
  object lblSuggestions: TLabel
    Left = 8
    Top = 68
    Width = 63
    Height = 12
    Caption = 'Suggestio&ns:'
    FocusControl = lstSuggest
  end
  object pnlIcons: TPanel
    Left = 108
    Top = 64
    Width = 200
    Height = 24
    Visible = False
    Color = clBtnFace
    TabStop = False
    BevelOuter = bvNone
    object btnA: TSpeedButton
      Left = 1
      Top = 1
      Width = 22
      Height = 22
      Caption = 'á'
      OnClick = AccentClick
    end
    object btnE: TSpeedButton
      Left = 24
      Top = 1
      Width = 22
      Height = 22
      Caption = 'é'
      OnClick = AccentClick
    end
    object btnI: TSpeedButton
      Left = 47
      Top = 1
      Width = 22
      Height = 22
      Caption = 'í'
      OnClick = AccentClick
    end
    object btnO: TSpeedButton
      Left = 70
      Top = 1
      Width = 22
      Height = 22
      Caption = 'ó'
      OnClick = AccentClick
    end
    object btnU: TSpeedButton
      Left = 93
      Top = 1
      Width = 22
      Height = 22
      Caption = 'ú'
      OnClick = AccentClick
    end
    object btnN: TSpeedButton
      Left = 116
      Top = 1
      Width = 22
      Height = 22
      Caption = 'ñ'
      OnClick = AccentClick
    end
    object btnN2: TSpeedButton
      Left = 139
      Top = 1
      Width = 22
      Height = 22
      Caption = 'Ñ'
      OnClick = AccentClick
    end
  end
  object lstSuggest: TNewListBox
    Left = 108
    Top = 89
    Width = 200
    Height = 113
    ItemHeight = 12
    OnDblClick = lstSuggestDblClick
    OnChange = lstSuggestChange
  end
  object btnSkip: TButton
    Left = 320
    Top = 8
    Width = 88
    Height = 24
    Caption = '&Ignore'
    OnClick = btnSkipClick
  end
  object btnSkipAll: TButton
    Left = 416
    Top = 8
    Width = 88
    Height = 24
    Caption = 'I&gnore All'
    OnClick = btnSkipAllClick
  end
  object btnReplace: TButton
    Left = 320
    Top = 38
    Width = 88
    Height = 24
    Caption = '&Change'
    OnClick = btnReplaceClick
  end
  object btnReplaceAll: TButton
    Left = 416
    Top = 38
    Width = 88
    Height = 24
    Caption = '&Change All'
    OnClick = btnReplaceAllClick
  end
  object btnAdd: TButton
    Left = 320
    Top = 68
    Width = 88
    Height = 24
    Caption = '&Add'
    OnClick = btnAddClick
  end
  object btnSuggest: TButton
    Left = 416
    Top = 68
    Width = 88
    Height = 24
    Caption = '&Suggest'
    OnClick = btnSuggestClick
  end
  object btnAutoCorrect: TButton
    Left = 320
    Top = 112
    Width = 88
    Height = 24
    Caption = 'AutoCorrect'
  end
  object btnOptions: TButton
    Left = 416
    Top = 112
    Width = 88
    Height = 24
    Caption = '&Options...'
  end
  object btnUndo: TButton
    Left = 320
    Top = 142
    Width = 88
    Height = 24
    Caption = 'Undo Last'
  end
  object btnClose: TButton
    Left = 416
    Top = 142
    Width = 88
    Height = 24
    Caption = 'Cancel'
    Cancel = True
    OnClick = btnCloseClick
  end
  object btnHelp: TButton
    Left = 416
    Top = 210
    Width = 88
    Height = 24
    Caption = 'Help'
  end
end
