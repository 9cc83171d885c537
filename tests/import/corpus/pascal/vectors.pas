program Vectors;

{$mode objfpc}{$modeswitch advancedrecords}

type
  TVector = record
    X, Y: Double;
    function Length: Double;
    class function Make(AX, AY: Double): TVector; static;
  end;

  TComplex = record
  public
    Re, Im: Double;
    class operator +(const a, b: TComplex): TComplex;
    class operator *(const a, b: TComplex): TComplex;
  end;

operator + (const a, b: TVector) r: TVector;
begin
  r.X := a.X + b.X;
  r.Y := a.Y + b.Y;
end;

operator * (const a: TVector; k: Double) r: TVector;
begin
  r.X := a.X * k;
  r.Y := a.Y * k;
end;

operator = (const a, b: TVector) r: Boolean;
begin
  r := (a.X = b.X) and (a.Y = b.Y);
end;

function TVector.Length: Double;
begin
  Result := Sqrt(X * X + Y * Y);
end;

class function TVector.Make(AX, AY: Double): TVector;
begin
  Result.X := AX;
  Result.Y := AY;
end;

class operator TComplex.+(const a, b: TComplex): TComplex;
begin
  Result.Re := a.Re + b.Re;
  Result.Im := a.Im + b.Im;
end;

class operator TComplex.*(const a, b: TComplex): TComplex;
begin
  Result.Re := a.Re * b.Re - a.Im * b.Im;
  Result.Im := a.Re * b.Im + a.Im * b.Re;
end;

var
  a, b, c: TVector;
begin
  a := TVector.Make(1, 2);
  b := TVector.Make(3, -4.5);
  c := (a + b) * 2;
  WriteLn(c.X:0:2, ' ', c.Y:0:2, ' ', c.Length:0:3);
  if a = b then
    WriteLn('equal')
  else
    WriteLn('different');
  c.X += 1;
  c.Y -= 1;
  WriteLn(2 ** 10);
end.
