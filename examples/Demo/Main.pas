unit Main;

interface

uses
  Classes, SysUtils, Forms, StdCtrls, Helpers, Shapes, Drawing;

type
  TMainForm = class(TForm)
    lblTitle: TLabel;
    edtCount: TEdit;
    btnDraw: TButton;
    procedure btnDrawClick(Sender: TObject);
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

procedure TMainForm.btnDrawClick(Sender: TObject);
var
  Picture: TDrawing;
  I: Integer;
begin
  Picture := TDrawing.Create;
  try
    for I := 1 to Clamp(StrToIntDef(edtCount.Text, 1), 1, 9) do
      if Odd(I) then
        Picture.Add(TCircle.Create(I))
      else
        Picture.Add(TRectangle.Create(I, Twice(I)));
    lblTitle.Caption := Picture.Summary;
  finally
    Picture.Free;
  end;
  Bump;
end;

end.
