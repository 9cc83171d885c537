program Records;

type
  TShapeKind = (skCircle, skRectangle, skTriangle);

  TPoint = record
    X, Y: Real
  end;

  TShape = record
    Name: string[20];
    Origin: TPoint;
    case Kind: TShapeKind of
      skCircle: (Radius: Real);
      skRectangle: (Width, Height: Real);
      skTriangle: (A, B, C: Real);
  end;

  TShapeList = array[1..3] of TShape;

function Area(const s: TShape): Real;
var
  p: Real;
begin
  with s do
    case Kind of
      skCircle: Area := Pi * Sqr(Radius);
      skRectangle: Area := Width * Height;
      skTriangle:
        begin
          p := (A + B + C) / 2;
          Area := Sqrt(p * (p - A) * (p - B) * (p - C))
        end
    end
end;

var
  shapes: TShapeList;
  i: Integer;
  total: Real;

begin
  shapes[1].Name := 'disc';
  shapes[1].Kind := skCircle;
  shapes[1].Radius := 2.5;
  with shapes[2] do
  begin
    Name := 'plate';
    Kind := skRectangle;
    Width := 3;
    Height := 4.5e0
  end;
  shapes[3].Name := 'sail';
  shapes[3].Kind := skTriangle;
  shapes[3].A := 3; shapes[3].B := 4; shapes[3].C := 5;
  total := 0;
  for i := Low(shapes) to High(shapes) do
  begin
    WriteLn(shapes[i].Name:10, Area(shapes[i]):10:3);
    total := total + Area(shapes[i])
  end;
  WriteLn('Total':10, total:10:3)
end.
