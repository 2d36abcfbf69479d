object MainDlg: TMainDlg
  Left = 0
  Top = 0
  Caption = 'Browse Search Results'
  ClientHeight = 273
  ClientWidth = 572
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  HelpContext = 4
  KeyPreview = True
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  OnHide = FormHide
  OnKeyDown = FormKeyDown
  OnKeyPress = FormKeyPress
  object TopBar: TKWControlBar
    Left = 0
    Top = 0
    Width = 572
    Height = 33
    Color = clBtnFace
    ParentColor = False
    Align = alTop
    TabStop = False
    Margin = 5
    object Edit: TEdit
      Left = 5
      Top = 6
      Width = 201
      Height = 21
      ShowHint = True
      ParentShowHint = False
      Hint = 'Speedsearch through the results'
      OnChange = EditChange
    end
    object cbCase: TKwCheckBox
      Left = 213
      Top = 6
      Width = 98
      Height = 20
      Caption = 'Case sensitive'
      ShowHint = True
      ParentShowHint = False
      Hint = 'Set the casesensitivity of the'#13'speedsearch'
      TabStop = True
      Bevel = bvRaised
    end
    object BtnHelp: TKWControlSection
      Left = 541
      Top = 4
      Width = 25
      Height = 25
      ShowHint = True
      ParentShowHint = False
      Hint = 'Get help for the current window'
      NumGlyphs = 2
      HAlign = haRight
      VAlign = vaCenter
      OnClick = BtnHelpClick
    end
    object BtnClose: TKWControlSection
      Left = 468
      Top = 4
      Width = 68
      Height = 25
      Caption = '&Cancel'
      ShowHint = True
      ParentShowHint = False
      Hint = 'Close window'
      HAlign = haRight
      VAlign = vaCenter
      OnClick = BtnCloseClick
    end
    object BtnFind: TKWControlSection
      Left = 395
      Top = 4
      Width = 68
      Height = 25
      Caption = '&Goto:'
      ShowHint = True
      ParentShowHint = False
      Hint = 'Goto the highlighted line'
      HAlign = haRight
      VAlign = vaCenter
      OnClick = BtnFindClick
    end
    object btnBack: TKWControlSection
      Left = 322
      Top = 4
      Width = 68
      Height = 25
      Caption = '&Options'
      ShowHint = True
      ParentShowHint = False
      Hint = 'Back to the Options'
      HAlign = haRight
      VAlign = vaCenter
      OnClick = btnBackClick
    end
  end
  object BottomBar: TKWControlBar
    Left = 0
    Top = 246
    Width = 572
    Height = 27
    Color = clBtnFace
    ParentColor = False
    Align = alBottom
    TabStop = False
    Margin = 5
    object FileNameCaption: TKWInfoSection
      Left = 6
      Top = 4
      Width = 62
      Height = 19
      Caption = 'Current file:'
      Color = clBtnFace
      ParentColor = False
      ParentFont = False
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = []
      Alignment = taLeftJustify
      HAlign = haLeft
      VAlign = vaCenter
      BevelOuter = bvNone
    end
    object FileNameText: TKWInfoSection
      Left = 73
      Top = 4
      Width = 206
      Height = 19
      Color = clBtnFace
      ParentColor = False
      ParentFont = False
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      Alignment = taLeftJustify
      HAlign = haLeft
      VAlign = vaCenter
    end
    object FileCaption: TKWInfoSection
      Left = 284
      Top = 4
      Width = 112
      Height = 19
      Caption = 'Number of files found:'
      Color = clBtnFace
      ParentColor = False
      ParentFont = False
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = []
      Alignment = taLeftJustify
      HAlign = haLeft
      VAlign = vaCenter
      BevelOuter = bvNone
    end
    object FileText: TKWInfoSection
      Left = 401
      Top = 4
      Width = 34
      Height = 19
      Color = clBtnFace
      ParentColor = False
      ParentFont = False
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      Alignment = taLeftJustify
      HAlign = haLeft
      VAlign = vaCenter
    end
    object HitCaption: TKWInfoSection
      Left = 440
      Top = 4
      Width = 82
      Height = 19
      Caption = 'Number of hits:'
      Color = clBtnFace
      ParentColor = False
      ParentFont = False
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = []
      Alignment = taLeftJustify
      HAlign = haLeft
      VAlign = vaCenter
      BevelOuter = bvNone
    end
    object HitText: TKWInfoSection
      Left = 527
      Top = 4
      Width = 40
      Height = 19
      Color = clBtnFace
      ParentColor = False
      ParentFont = False
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      Alignment = taLeftJustify
      HAlign = haLeft
      VAlign = vaCenter
    end
  end
  object ListBox: TListBox
    Left = 0
    Top = 33
    Width = 572
    Height = 213
    ParentFont = False
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Courier New'
    Font.Style = []
    Align = alClient
    PopupMenu = ListBoxMnu
    ItemHeight = 15
    Style = lbOwnerDrawFixed
    OnClick = ListBoxClick
    OnDblClick = ListBoxDblClick
    OnDrawItem = ListBoxDrawItem
  end
  object ListBoxMnu: TPopupMenu
    OnPopup = ListBoxMnuPopup
    object mnuExpand: TMenuItem
      Caption = '&Expand All'
      OnClick = mnuExpandClick
    end
    object mnuCollapse: TMenuItem
      Caption = '&Collapse All'
      OnClick = mnuCollapseClick
    end
    object N1: TMenuItem
      Caption = '-'
    end
  end
end
