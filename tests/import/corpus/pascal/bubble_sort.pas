program BubbleSort;

const
  MaxItems = 100;

type
  TItems = array[1..MaxItems] of Integer;

var
  items: TItems;
  count, i: Integer;

procedure Swap(var a, b: Integer);
var
  t: Integer;
begin
  t := a;
  a := b;
  b := t
end;

procedure Sort(var a: TItems; n: Integer);
var
  i, j: Integer;
  swapped: Boolean;
begin
  for i := n - 1 downto 1 do
  begin
    swapped := False;
    for j := 1 to i do
      if a[j] > a[j + 1] then
      begin
        Swap(a[j], a[j + 1]);
        swapped := True
      end;
    if not swapped then
      Break
  end
end;

begin
  Write('How many numbers? ');
  ReadLn(count);
  if count > MaxItems then count := MaxItems;
  for i := 1 to count do
    Read(items[i]);
  Sort(items, count);
  for i := 1 to count do
    Write(items[i]:6);
  WriteLn;
end.
