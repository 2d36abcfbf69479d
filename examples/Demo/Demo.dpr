program Demo;

uses
  Forms,
  Main in 'MAIN.PAS' {MainForm},
  Helpers, { (* not a unit *) }
  Shapes in 'Shapes.pas',
  Drawing in 'Drawing.pas';

{$R *.RES}

begin
  Application.Initialize;
  Application.CreateForm(TMainForm, MainForm);
  Application.Run;
end.
