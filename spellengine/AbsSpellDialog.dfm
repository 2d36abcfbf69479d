object AbsSpellDialog: TAbsSpellDialog
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Spell Checker'
  ClientHeight = 224
  ClientWidth = 412
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
end
