unit StringUtils;

interface

const
  WhiteSpace = [' ', #9, #10, #13];

type
  TStringArray = array of string;

function Trimmed(const s: string): string;
function SplitString(const s: string; separator: Char): TStringArray;
function JoinStrings(const parts: array of string; const separator: string): string; overload;
function JoinStrings(const parts: TStringArray): string; overload; inline;
procedure ReverseString(var s: string);
function CountChar(const s: string; c: Char): Integer;
function IsNumber(const s: string; out value: Integer): Boolean;
function Repeated(const s: string; times: Integer = 2): string;

implementation

function Trimmed(const s: string): string;
var
  first, last: Integer;
begin
  first := 1;
  last := Length(s);
  while (first <= last) and (s[first] in WhiteSpace) do
    Inc(first);
  while (last >= first) and (s[last] in WhiteSpace) do
    Dec(last);
  Trimmed := Copy(s, first, last - first + 1);
end;

function SplitString(const s: string; separator: Char): TStringArray;
var
  i, start, n: Integer;
begin
  SetLength(Result, 0);
  n := 0;
  start := 1;
  for i := 1 to Length(s) + 1 do
    if (i > Length(s)) or (s[i] = separator) then
    begin
      SetLength(Result, n + 1);
      Result[n] := Copy(s, start, i - start);
      Inc(n);
      start := i + 1;
    end;
end;

function JoinStrings(const parts: array of string; const separator: string): string;
var
  i: Integer;
begin
  Result := '';
  for i := Low(parts) to High(parts) do
  begin
    if i > Low(parts) then
      Result := Result + separator;
    Result := Result + parts[i];
  end;
end;

function JoinStrings(const parts: TStringArray): string;
begin
  Result := JoinStrings(parts, ', ');
end;

procedure ReverseString(var s: string);
var
  i, j: Integer;
  c: Char;
begin
  i := 1;
  j := Length(s);
  while i < j do
  begin
    c := s[i]; s[i] := s[j]; s[j] := c;
    Inc(i); Dec(j);
  end;
end;

function CountChar(const s: string; c: Char): Integer;
var
  ch: Char;
begin
  Result := 0;
  for ch in s do
    if ch = c then
      Inc(Result);
end;

function IsNumber(const s: string; out value: Integer): Boolean;
var
  code: Integer;
begin
  Val(s, value, code);
  IsNumber := code = 0;
end;

function Repeated(const s: string; times: Integer): string;
begin
  Result := '';
  while times > 0 do
  begin
    Result := Result + s;
    Dec(times)
  end
end;

end.
