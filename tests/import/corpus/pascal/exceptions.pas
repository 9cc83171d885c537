program Exceptions;

{$mode delphi}

uses
  SysUtils, Classes;

type
  EValidationError = class(Exception)
  private
    FField: string;
  public
    constructor Create(const AField, AMessage: string);
    property Field: string read FField;
  end;

constructor EValidationError.Create(const AField, AMessage: string);
begin
  inherited Create(AMessage);
  FField := AField;
end;

procedure CheckAge(age: Integer);
begin
  if (age < 0) or (age > 150) then
    raise EValidationError.Create('age', 'Age out of range: ' + IntToStr(age));
end;

function SafeDivide(a, b: Integer): Integer;
begin
  try
    Result := a div b;
  except
    on E: EDivByZero do
    begin
      WriteLn('division by zero: ', E.Message);
      Result := 0;
    end;
    on EOverflow do
      Result := MaxInt;
  else
    raise;
  end;
end;

procedure Process(list: TStrings);
var
  i: Integer;
begin
  list.BeginUpdate;
  try
    for i := 0 to list.Count - 1 do
      try
        CheckAge(StrToInt(list[i]));
      except
        on E: EValidationError do
          if E.Field = 'age' then WriteLn('bad age in line ', i) else WriteLn(E.Message);
        on E: Exception do
          WriteLn(E.ClassName, ': ', E.Message)
      end;
  finally
    list.EndUpdate;
  end;
end;

var
  items: TStringList;
begin
  items := TStringList.Create;
  try
    items.Add('12');
    items.Add('-3');
    items.Add('abc');
    Process(items);
    WriteLn(SafeDivide(10, 0));
  finally
    items.Free;
  end;
  try
    CheckAge(200);
  except
    WriteLn('caught');
  end;
end.
