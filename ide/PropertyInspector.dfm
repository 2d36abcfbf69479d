object PropertyInspector: TPropertyInspector
  Left = 0
  Top = 0
  Caption = 'Object Inspector'
  ClientHeight = 213
  ClientWidth = 312
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  KeyPreview = True
  OnKeyDown = FormKeyDown
end
