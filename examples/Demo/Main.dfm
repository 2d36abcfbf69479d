object MainForm: TMainForm
  Left = 200
  Top = 108
  Caption = 'Demo'
end
