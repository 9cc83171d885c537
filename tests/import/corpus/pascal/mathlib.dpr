library MathLib;

uses
  SysUtils;

{$R *.res}

function Add(a, b: Integer): Integer; stdcall;
begin
  Result := a + b;
end;

function Factorial(n: Integer): Int64; stdcall;
var
  i: Integer;
begin
  Result := 1;
  for i := 2 to n do
    Result := Result * i;
end;

procedure Clamp(var value: Double; low, high: Double); cdecl;
begin
  if value < low then
    value := low
  else if value > high then
    value := high;
end;

exports
  Add,
  Factorial name 'Fact',
  Clamp index 3;

begin
  IsMultiThread := True;
end.
