program TurboObjects;
{ Turbo Pascal style objects with constructors and virtual methods. }
type
  PFigure = ^TFigure;
  TFigure = object
    X, Y: Integer;
    constructor Init(AX, AY: Integer);
    destructor Done; virtual;
    procedure Show; virtual;
    procedure MoveTo(NX, NY: Integer);
  end;

  PCircle = ^TCircle;
  TCircle = object(TFigure)
    Radius: Integer;
    constructor Init(AX, AY, ARadius: Integer);
    procedure Show; virtual;
  end;

constructor TFigure.Init(AX, AY: Integer);
begin
  X := AX;
  Y := AY;
end;

destructor TFigure.Done;
begin
end;

procedure TFigure.Show;
begin
  WriteLn('figure at ', X, ',', Y);
end;

procedure TFigure.MoveTo(NX, NY: Integer);
begin
  X := NX;
  Y := NY;
  Show;
end;

constructor TCircle.Init(AX, AY, ARadius: Integer);
begin
  inherited Init(AX, AY);
  Radius := ARadius;
end;

procedure TCircle.Show;
begin
  Write('circle r=', Radius, ' ');
  TFigure.Show;
end;

var
  f: PFigure;
begin
  f := New(PCircle, Init(10, 20, 5));
  f^.Show;
  f^.MoveTo(1, 1);
  Dispose(f, Done);
end.
