unit Drawing;

interface

uses
  Classes, Shapes;

type
  { A drawing owns its shapes and frees them with itself. }
  TDrawing = class
  private
    FShapes: TList;
    function GetCount: Integer;
    function GetShape(Index: Integer): TShape;
  public
    constructor Create;
    destructor Destroy; override;
    procedure Add(AShape: TShape);
    function TotalArea: Double;
    function Summary: string;
    property Count: Integer read GetCount;
    property Shapes[Index: Integer]: TShape read GetShape; default;
  end;

implementation

uses
  SysUtils;

constructor TDrawing.Create;
begin
  inherited Create;
  FShapes := TList.Create;
end;

destructor TDrawing.Destroy;
var
  I: Integer;
begin
  for I := 0 to FShapes.Count - 1 do
    TShape(FShapes[I]).Free;
  FShapes.Free;
  inherited Destroy;
end;

procedure TDrawing.Add(AShape: TShape);
begin
  FShapes.Add(AShape);
end;

function TDrawing.GetCount: Integer;
begin
  Result := FShapes.Count;
end;

function TDrawing.GetShape(Index: Integer): TShape;
begin
  Result := TShape(FShapes[Index]);
end;

function TDrawing.TotalArea: Double;
var
  I: Integer;
begin
  Result := 0;

  for I := 0 to Count - 1 do
    Result := Result + Shapes[I].Area;
end;

function TDrawing.Summary: string;
begin
  if Count = 0 then
    Result := NoShapes
  else
    Result := IntToStr(Count) + ' shapes, total area ' + FloatToStr(TotalArea);
end;

end.
