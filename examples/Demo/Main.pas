unit Main;

interface

uses
  Forms, Helpers;

type
  TMainForm = class(TForm)
  private
    FCount: Integer;
  public
    procedure Bump;
  end;

var
  MainForm: TMainForm;

implementation

{$R *.DFM}

procedure TMainForm.Bump;
begin
	Inc(FCount);
end;

end.
