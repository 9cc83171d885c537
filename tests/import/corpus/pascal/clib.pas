unit CLib;

{$mode objfpc}
{$linklib c}

interface

uses
  ctypes;

const
  LibC = 'c';

type
  PFile = Pointer;
  TCompare = function(a, b: Pointer): cint; cdecl;
  TSignalHandler = procedure(sig: cint); cdecl;

var
  errno: cint; cvar; external;
  StdOut: PFile; external LibC name 'stdout';

function printf(format: PChar): cint; cdecl; varargs; external LibC name 'printf';
function puts(s: PChar): cint; cdecl; external LibC;
function strlen(s: PChar): csize_t; cdecl; external LibC name 'strlen';
procedure qsort(base: Pointer; count, size: csize_t; compare: TCompare); cdecl; external LibC;
function getenv(name: PChar): PChar; cdecl; external 'c' name 'getenv';
function signal(sig: cint; handler: TSignalHandler): TSignalHandler; cdecl; external LibC;

function MessageBoxA(hWnd: Pointer; lpText, lpCaption: PChar; uType: Cardinal): Integer;
  stdcall; external 'user32.dll' name 'MessageBoxA';

function SortInts(var values: array of cint): Boolean;

implementation

function CompareInts(a, b: Pointer): cint; cdecl;
begin
  if PInteger(a)^ < PInteger(b)^ then
    Result := -1
  else if PInteger(a)^ > PInteger(b)^ then
    Result := 1
  else
    Result := 0;
end;

function SortInts(var values: array of cint): Boolean;
begin
  Result := Length(values) > 1;
  if Result then
    qsort(@values[0], Length(values), SizeOf(cint), @CompareInts);
end;

procedure Log(const msg: string); forward;

procedure Report(code: Integer);
begin
  Log('code ' + IntToStr(code));
end;

procedure Log(const msg: string);
begin
  puts(PChar(msg));
end;

end.
