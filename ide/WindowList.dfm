object WindowList: TWindowList
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Window List'
  ClientHeight = 160
  ClientWidth = 250
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  ActiveControl = WindowListBox
  Position = poScreenCenter
  object WindowListBox: TListBox
    Left = 8
    Top = 8
    Width = 234
    Height = 110
    ItemHeight = 12
    OnDblClick = WindowListBoxDblClick
  end
  object OK: TButton
    Left = 86
    Top = 128
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
  end
  object Cancel: TButton
    Left = 167
    Top = 128
    Width = 75
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    ModalResult = 2
  end
end
