object AppBuilder: TAppBuilder
  Left = 0
  Top = 0
  Caption = 'Delphi 2.0'
  ClientHeight = 50
  ClientWidth = 1016
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  KeyPreview = True
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  object MainMenu: TMainMenu
  end
end
