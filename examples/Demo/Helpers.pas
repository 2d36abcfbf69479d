unit Helpers;

interface

function Twice(N: Integer): Integer;
function Clamp(N, Lo, Hi: Integer): Integer;
procedure Swap(var A, B: Integer);

implementation

function Twice(N: Integer): Integer;
begin
  Result := N * 2;
end;

{ Keeps a count inside the range the form can show. }
function Clamp(N, Lo, Hi: Integer): Integer;
begin
  if N < Lo then
    Result := Lo
  else if N > Hi then
    Result := Hi
  else
    Result := N;
end;

procedure Swap(var A, B: Integer);
var
  T: Integer;
begin
  T := A;
  A := B;
  B := T;
end;

end.
