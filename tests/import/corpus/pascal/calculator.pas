program Calculator;

uses
  SysUtils;

type
  TOperation = (opAdd, opSub, opMul, opDiv, opUnknown);

function ParseOperation(c: Char): TOperation;
begin
  case c of
    '+': Result := opAdd;
    '-': Result := opSub;
    '*', 'x', 'X': Result := opMul;
    '/', ':': Result := opDiv;
  else
    Result := opUnknown;
  end;
end;

function Apply(op: TOperation; a, b: Double; out ok: Boolean): Double;
begin
  ok := True;
  Result := 0;
  case op of
    opAdd: Result := a + b;
    opSub: Result := a - b;
    opMul: Result := a * b;
    opDiv:
      if b <> 0 then
        Result := a / b
      else
        ok := False;
  else
    ok := False
  end
end;

var
  a, b, r: Double;
  c: Char;
  ok: Boolean;
  line: string;

begin
  repeat
    Write('a = ');
    ReadLn(a);
    Write('operation (+ - * /) = ');
    ReadLn(c);
    Write('b = ');
    ReadLn(b);
    r := Apply(ParseOperation(c), a, b, ok);
    if ok then
      WriteLn(a:0:2, ' ', c, ' ', b:0:2, ' = ', r:0:4)
    else
      WriteLn('Cannot compute that.');
    Write('Again (y/n)? ');
    ReadLn(line);
  until (line = '') or (UpCase(line[1]) <> 'Y');
end.
