program Demo;

uses
  Forms,
  Main in 'MAIN.PAS' {MainForm},
  Shapes in 'Shapes.pas',
  Drawing in 'Drawing.pas',
  Helpers; { (* not a unit *) }

{$R *.RES}

begin
  Application.Initialize;
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
