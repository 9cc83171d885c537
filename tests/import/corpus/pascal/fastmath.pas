unit FastMath;

{$asmmode intel}

interface

function AddAsm(a, b: LongInt): LongInt; assembler;
function Popcount(x: LongWord): Integer;

implementation

function AddAsm(a, b: LongInt): LongInt; assembler; nostackframe;
asm
  mov eax, a
  add eax, b
end;

function Popcount(x: LongWord): Integer;
var
  count: Integer;
begin
  count := 0;
  while x <> 0 do
  begin
    x := x and (x - 1);
    Inc(count);
  end;
  Popcount := count;
end;

end.
