object OptionsDlg: TOptionsDlg
  Left = 200
  Top = 120
  BorderStyle = bsDialog
  Caption = 'Delvo + Options'
  ClientHeight = 333
  ClientWidth = 402
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  HelpContext = 3
  KeyPreview = True
  ShowHint = True
  OnClose = FormClose
  OnCreate = FormCreate
  OnHide = FormHide
  OnKeyDown = FormKeyDown
  OnShow = FormShow
  object PageControl1: TPageControl
    Left = 8
    Top = 8
    Width = 384
    Height = 276
    Color = clBtnFace
    ParentColor = False
    TabStop = True
    ActivePage = tsSearch
    object tsSearch: TTabSheet
      Left = 4
      Top = 24
      Width = 376
      Height = 248
      Caption = 'Search Options'
      Align = alClient
      HelpContext = 11
      TabStop = False
      object gbEntity: TGroupBox
        Left = 8
        Top = 4
        Width = 120
        Height = 64
        Caption = 'Pascal Entity'
        Hint = 'Choose which pascal entity'#13'to search for'
        TabStop = False
        object cbFunction: TCheckBox
          Left = 10
          Top = 18
          Width = 100
          Height = 17
          Caption = 'function'
          OnClick = cbEntityClick
        end
        object cbProcedure: TCheckBox
          Left = 10
          Top = 40
          Width = 100
          Height = 17
          Caption = 'procedure'
          OnClick = cbEntityClick
        end
      end
      object gbPart: TGroupBox
        Left = 8
        Top = 72
        Width = 120
        Height = 64
        Caption = 'Unit Part'
        Hint = 'Choose in which part of a unit'#13'to search in'
        TabStop = False
        object cbInterface: TCheckBox
          Left = 10
          Top = 18
          Width = 100
          Height = 17
          Caption = 'interface'
          OnClick = cbEntityClick
        end
        object cbImplementation: TCheckBox
          Left = 10
          Top = 40
          Width = 100
          Height = 17
          Caption = 'implementation'
          OnClick = cbEntityClick
        end
      end
      object gbClass: TGroupBox
        Left = 136
        Top = 4
        Width = 228
        Height = 132
        Caption = 'Class Entity'
        Hint = 'Choose which class parts to'#13'search for'
        TabStop = False
        object cbClass: TCheckBox
          Left = 10
          Top = 18
          Width = 100
          Height = 17
          Caption = 'class declaration'
          OnClick = cbEntityClick
        end
        object cbConstructor: TCheckBox
          Left = 10
          Top = 38
          Width = 100
          Height = 17
          Caption = 'constructor'
          OnClick = cbEntityClick
        end
        object cbDestructor: TCheckBox
          Left = 10
          Top = 58
          Width = 100
          Height = 17
          Caption = 'destructor'
          OnClick = cbEntityClick
        end
        object cbProperty: TCheckBox
          Left = 10
          Top = 78
          Width = 100
          Height = 17
          Caption = 'property'
          OnClick = cbEntityClick
        end
        object cbClassFunction: TCheckBox
          Left = 124
          Top = 18
          Width = 100
          Height = 17
          Caption = 'function'
          OnClick = cbEntityClick
        end
        object cbClassProcedure: TCheckBox
          Left = 124
          Top = 38
          Width = 100
          Height = 17
          Caption = 'procedure'
          OnClick = cbEntityClick
        end
        object cbField: TCheckBox
          Left = 124
          Top = 58
          Width = 100
          Height = 17
          Caption = 'field'
          OnClick = cbEntityClick
        end
        object cbGivenClass: TKwCheckBox
          Left = 10
          Top = 104
          Width = 108
          Height = 17
          Caption = 'of the given class'
          TabStop = True
          Bevel = bvRaised
          OnClick = cbGivenClassClick
        end
        object cbClassName: TComboBox
          Left = 122
          Top = 102
          Width = 98
          Height = 21
        end
      end
      object gbSearch: TGroupBox
        Left = 8
        Top = 140
        Width = 356
        Height = 68
        Caption = 'List all occurences of'
        Hint = 'Enter a keyword to search for'
        TabStop = False
        object cbSearch: TComboBox
          Left = 10
          Top = 16
          Width = 336
          Height = 21
          OnChange = cbSearchChange
        end
        object cbCase: TCheckBox
          Left = 10
          Top = 44
          Width = 100
          Height = 17
          Caption = 'case sensitive'
          OnClick = cbEntityClick
        end
        object cbWord: TCheckBox
          Left = 140
          Top = 44
          Width = 100
          Height = 17
          Caption = 'word search'
          OnClick = cbEntityClick
        end
      end
      object SaveBtn: TButton
        Left = 8
        Top = 216
        Width = 75
        Height = 25
        Caption = '&Save'
        Hint = 'Save as default'
        OnClick = SaveBtnClick
      end
      object DefaultBtn: TButton
        Left = 88
        Top = 216
        Width = 75
        Height = 25
        Caption = '&Default'
        Hint = 'Restore default options'
        OnClick = DefaultBtnClick
      end
      object ClearAllBtn: TButton
        Left = 168
        Top = 216
        Width = 75
        Height = 25
        Caption = 'Clear &All'
        Hint = 'Clear all options'
        OnClick = ClearAllBtnClick
      end
    end
    object tsFiles: TTabSheet
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      Caption = 'File Options'
      Visible = False
      Align = alClient
      HelpContext = 23
      TabStop = False
      object rgFiles: TRadioGroup
        Left = 8
        Top = 4
        Width = 360
        Height = 58
        Caption = 'Select Scope'
        Hint = 'Select scope of the search'
        Columns = 2
        Items.Strings = (
          'Current File'
          'Current Project'
          'Directory')
        OnClick = rgFilesClick
      end
      object gbFiles: TGroupBox
        Left = 8
        Top = 66
        Width = 360
        Height = 176
        Caption = 'Select Files'
        Hint = 'Select files to search in'
        TabStop = False
        object lblName: TLabel
          Left = 10
          Top = 16
          Width = 46
          Height = 12
          Caption = 'File Name'
          FocusControl = ebName
        end
        object ebName: TEdit
          Left = 10
          Top = 32
          Width = 164
          Height = 21
          CharCase = ecLowerCase
          MaxLength = 128
          Text = '*.*'
          OnChange = ebNameChange
        end
        object lblDir: TLabel
          Left = 10
          Top = 58
          Width = 44
          Height = 12
          Caption = 'Directory'
          FocusControl = lbDir
        end
        object lbDir: TDirectoryListBox
          Left = 10
          Top = 74
          Width = 164
          Height = 68
          ItemHeight = 16
          OnChange = lbDirChange
        end
        object cbDrive: TDriveComboBox
          Left = 10
          Top = 146
          Width = 164
          Height = 21
          OnChange = cbDriveChange
        end
        object lblFile: TLabel
          Left = 184
          Top = 16
          Width = 22
          Height = 12
          Caption = 'Files'
          FocusControl = lbFile
        end
        object lbFile: TKwCheckList
          Left = 184
          Top = 32
          Width = 166
          Height = 136
          PopupMenu = FileMenu
          ItemHeight = 16
          MultiSelect = True
        end
      end
    end
    object tsDisplay: TTabSheet
      Left = 0
      Top = 0
      Width = 0
      Height = 0
      Caption = 'Display Options'
      Visible = False
      Align = alClient
      HelpContext = 24
      TabStop = False
      object gbFont: TGroupBox
        Left = 8
        Top = 4
        Width = 360
        Height = 104
        Caption = 'Select Display Font'
        Hint = 'Select the fonts for results window'
        TabStop = False
        object cbFontName: TComboBox
          Left = 10
          Top = 18
          Width = 200
          Height = 21
          Style = csDropDownList
          OnChange = cbFontNameChange
        end
        object cbFontSize: TComboBox
          Left = 218
          Top = 18
          Width = 56
          Height = 21
          Items.Strings = (
            '6'
            '7'
            '8'
            '9'
            '10'
            '11'
            '12'
            '13'
            '14')
          OnChange = cbFontNameChange
        end
        object lblPreview: TLabel
          Left = 10
          Top = 46
          Width = 40
          Height = 12
          Caption = 'Preview'
        end
        object pnlPreview: TPanel
          Left = 10
          Top = 62
          Width = 340
          Height = 32
          Color = clWhite
          TabStop = False
          BevelOuter = bvNone
          BorderStyle = bsSingle
        end
      end
      object gbColor: TGroupBox
        Left = 8
        Top = 114
        Width = 176
        Height = 76
        Caption = 'Select Display Color'
        Hint = 'Select color for results window'
        TabStop = False
        object ColorGrid: TColorGrid
          Left = 10
          Top = 18
          Width = 156
          Height = 48
          TabStop = True
          GridOrdering = go8x2
          BackgroundEnabled = False
          OnChange = cbFontNameChange
        end
      end
      object gbOther: TGroupBox
        Left = 192
        Top = 114
        Width = 176
        Height = 76
        Caption = 'Other'
        Hint = 'Select other display options'
        TabStop = False
        object cbComment: TCheckBox
          Left = 10
          Top = 20
          Width = 156
          Height = 17
          Caption = 'ignore commented text'
        end
        object cbIndentation: TCheckBox
          Left = 10
          Top = 44
          Width = 156
          Height = 17
          Caption = 'ignore indentation level'
        end
      end
    end
  end
  object OKBtn: TButton
    Left = 8
    Top = 294
    Width = 75
    Height = 25
    Caption = '&OK'
    Hint = 'Execute search'
    Default = True
    OnClick = OKBtnClick
  end
  object CancelBtn: TButton
    Left = 88
    Top = 294
    Width = 75
    Height = 25
    Caption = '&Cancel'
    Hint = 'Close options dialog'
    Cancel = True
    OnClick = CancelBtnClick
  end
  object HelpBtn: TButton
    Left = 168
    Top = 294
    Width = 75
    Height = 25
    Caption = '&Help'
    Hint = 'Display Help file'
    OnClick = HelpBtnClick
  end
  object AboutBtn: TButton
    Left = 317
    Top = 294
    Width = 75
    Height = 25
    Caption = 'About...'
    Hint = 'Display About dialog'
    OnClick = AboutBtnClick
  end
  object FileMenu: TPopupMenu
    object miSelectAll: TMenuItem
      Caption = '&Select All'
      OnClick = miSelectAllClick
    end
    object miToggleAll: TMenuItem
      Caption = '&Toggle All'
      OnClick = miToggleAllClick
    end
    object miClearAll: TMenuItem
      Caption = '&Clear All'
      OnClick = miClearAllClick
    end
  end
end
