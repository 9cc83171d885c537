program Generics;

{$mode objfpc}{$H+}

uses
  SysUtils;

type
  generic TStack<T> = class
  private
    FItems: array of T;
    FCount: Integer;
  public
    procedure Push(const AItem: T);
    function Pop: T;
    function IsEmpty: Boolean;
    property Count: Integer read FCount;
  end;

  generic TPair<TKey, TValue> = record
    Key: TKey;
    Value: TValue;
  end;

  TIntStack = specialize TStack<Integer>;
  TStringStack = specialize TStack<string>;
  TNamedValue = specialize TPair<string, Double>;

procedure TStack.Push(const AItem: T);
begin
  if FCount = Length(FItems) then
    SetLength(FItems, 2 * FCount + 4);
  FItems[FCount] := AItem;
  Inc(FCount);
end;

function TStack.Pop: T;
begin
  if FCount = 0 then
    raise Exception.Create('stack is empty');
  Dec(FCount);
  Result := FItems[FCount];
end;

function TStack.IsEmpty: Boolean;
begin
  Result := FCount = 0;
end;

var
  ints: TIntStack;
  names: TStringStack;
  pair: TNamedValue;
  i: Integer;
begin
  ints := TIntStack.Create;
  names := specialize TStack<string>.Create;
  try
    for i := 1 to 5 do
      ints.Push(i * i);
    while not ints.IsEmpty do
      Write(ints.Pop, ' ');
    WriteLn;
    names.Push('alpha');
    names.Push('beta');
    WriteLn(names.Pop, names.Count:3);
  finally
    ints.Free;
    names.Free;
  end;
  pair.Key := 'pi';
  pair.Value := 3.14159;
  WriteLn(pair.Key, ' = ', pair.Value:0:5);
end.
