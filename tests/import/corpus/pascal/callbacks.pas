program Callbacks;

{$mode objfpc}

type
  TIntFunc = function(x: Integer): Integer;
  TIntProc = procedure(x: Integer);
  TCompareFunc = function(const a, b: string): Integer of object;
  TNotify = procedure(Sender: TObject) of object;
  TNestedProc = procedure is nested;

  TSorter = class
  public
    Descending: Boolean;
    function Compare(const a, b: string): Integer;
    procedure Run(cmp: TCompareFunc);
  end;

function Square(x: Integer): Integer;
begin
  Result := x * x;
end;

function Negate(x: Integer): Integer;
begin
  Negate := -x;
end;

procedure PrintValue(x: Integer);
begin
  WriteLn('value: ', x);
end;

procedure MapAndPrint(f: TIntFunc; p: TIntProc; n: Integer);
var
  i: Integer;
begin
  for i := 1 to n do
    p(f(i));
end;

function TSorter.Compare(const a, b: string): Integer;
begin
  if a < b then Result := -1
  else if a > b then Result := 1
  else Result := 0;
  if Descending then Result := -Result;
end;

procedure TSorter.Run(cmp: TCompareFunc);
begin
  WriteLn(cmp('apple', 'pear'));
end;

var
  f: TIntFunc;
  sorter: TSorter;
begin
  f := @Square;
  MapAndPrint(f, @PrintValue, 3);
  MapAndPrint(@Negate, @PrintValue, 2);
  if Assigned(f) then
    WriteLn(f(7));
  sorter := TSorter.Create;
  sorter.Descending := True;
  sorter.Run(@sorter.Compare);
  sorter.Free;
end.
