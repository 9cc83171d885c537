program FileCopy;
{$I-}
uses
  SysUtils;

type
  TBuffer = array[0..4095] of Byte;
  TRecordFile = file of Integer;

var
  src, dst: file;
  numbers: TRecordFile;
  text: TextFile;
  buffer: TBuffer;
  readCount, written: Integer;
  total: Int64;
  n: Integer;
  line: string;

begin
  if ParamCount < 2 then
  begin
    WriteLn('usage: filecopy SOURCE TARGET');
    Halt(1);
  end;
  AssignFile(src, ParamStr(1));
  Reset(src, 1);
  if IOResult <> 0 then
  begin
    WriteLn('cannot open ', ParamStr(1));
    Exit;
  end;
  AssignFile(dst, ParamStr(2));
  Rewrite(dst, 1);
  total := 0;
  try
    repeat
      BlockRead(src, buffer, SizeOf(buffer), readCount);
      BlockWrite(dst, buffer, readCount, written);
      total := total + written;
    until (readCount = 0) or (written <> readCount);
  finally
    CloseFile(src);
    CloseFile(dst);
  end;
  WriteLn(total, ' bytes copied');

  Assign(numbers, 'numbers.dat');
  Rewrite(numbers);
  for n := 1 to 5 do
    Write(numbers, n);
  Close(numbers);

  Assign(text, 'log.txt');
  Rewrite(text);
  WriteLn(text, 'copied ', total, ' bytes');
  Close(text);
  Reset(text);
  while not Eof(text) do
  begin
    ReadLn(text, line);
    WriteLn(line);
  end;
  Close(text);
end.
