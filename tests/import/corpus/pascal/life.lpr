program Life;

{$mode objfpc}{$H+}

const
  Width = 20;
  Height = 10;
  Glider: array[0..4, 0..1] of Integer = ((1, 0), (2, 1), (0, 2), (1, 2), (2, 2));

type
  TGrid = array[0..Height - 1, 0..Width - 1] of Boolean;

var
  grid, next: TGrid;
  generation: Integer;

procedure Clear(out g: TGrid);
var
  r, c: Integer;
begin
  for r := 0 to Height - 1 do
    for c := 0 to Width - 1 do
      g[r, c] := False;
end;

function Neighbours(const g: TGrid; r, c: Integer): Integer;

  function Alive(rr, cc: Integer): Integer;
  begin
    rr := (rr + Height) mod Height;
    cc := (cc + Width) mod Width;
    if g[rr, cc] then Alive := 1 else Alive := 0;
  end;

var
  dr, dc: Integer;
begin
  Result := 0;
  for dr := -1 to 1 do
    for dc := -1 to 1 do
      if (dr <> 0) or (dc <> 0) then
        Inc(Result, Alive(r + dr, c + dc));
end;

procedure Step;
var
  r, c, n: Integer;
begin
  for r := 0 to Height - 1 do
    for c := 0 to Width - 1 do
    begin
      n := Neighbours(grid, r, c);
      next[r, c] := (n = 3) or (grid[r, c] and (n = 2));
    end;
  grid := next;
end;

procedure Show;
var
  r, c: Integer;
  line: string;
begin
  for r := 0 to Height - 1 do
  begin
    line := '';
    for c := 0 to Width - 1 do
      if grid[r, c] then line := line + '#' else line := line + '.';
    WriteLn(line);
  end;
  WriteLn;
end;

var
  i: Integer;
begin
  Clear(grid);
  for i := Low(Glider) to High(Glider) do
    grid[Glider[i, 1], Glider[i, 0]] := True;
  for generation := 1 to 4 do
  begin
    Show;
    Step;
  end;
end.
