unit Shapes;

{ Shapes that know their own area and how to describe themselves. }

interface

{$I Demo.inc}

type
  TShape = class
  private
    FName: string;
  public
    constructor Create(const AName: string);
    function Area: Double; virtual; abstract;
    function Describe: string;
    property Name: string read FName;
  end;

  TCircle = class(TShape)
  private
    FRadius: Double;
  public
    constructor Create(ARadius: Double);
    function Area: Double; override;
  end;

  TRectangle = class(TShape)
  private
    FWidth: Double;
    FHeight: Double;
  public
    constructor Create(AWidth, AHeight: Double);
    function Area: Double; override;
  end;

implementation

uses
  SysUtils;

constructor TShape.Create(const AName: string);
begin
  inherited Create;
  FName := AName;
end;

function TShape.Describe: string;
begin
  Result := FName + ' covers an aera of ' + FloatToStr(Area);
end;

constructor TCircle.Create(ARadius: Double);
begin
  inherited Create('Circle');
  FRadius := ARadius;
end;

function TCircle.Area: Double;
begin
  Result := Pi * FRadius * FRadius;
end;

constructor TRectangle.Create(AWidth, AHeight: Double);
begin
  inherited Create('Rectangle');
  FWidth := AWidth;
  FHeight := AHeight;
end;

{ Width times heigth, whatever the units are. }
function TRectangle.Area: Double;
begin
  Result := FWidth * FHeight;
end;

end.
