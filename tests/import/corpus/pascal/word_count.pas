program WordCount;
{ Counts the words of a text file and lists the ten most frequent ones.
  Written in the Delphi style of today: inline variables, generics, for-in. }

{$APPTYPE CONSOLE}

uses
  System.SysUtils, System.Classes, System.Generics.Collections,
  System.Generics.Defaults;

type
  TWordCount = TPair<string, Integer>;

function SplitWords(const Line: string): TArray<string>;
begin
  var words := TList<string>.Create;
  try
    var current := '';
    for var ch in Line do
      if CharInSet(ch, ['a'..'z', 'A'..'Z', '0'..'9', '''']) then
        current := current + LowerCase(ch)
      else if current <> '' then
      begin
        words.Add(current);
        current := '';
      end;
    if current <> '' then
      words.Add(current);
    Result := words.ToArray;
  finally
    words.Free;
  end;
end;

procedure CountWords(const FileName: string; Counts: TDictionary<string, Integer>);
var
  reader: TStreamReader;
begin
  reader := TStreamReader.Create(FileName, TEncoding.UTF8);
  try
    while not reader.EndOfStream do
      for var w in SplitWords(reader.ReadLine) do
      begin
        var n: Integer;
        if Counts.TryGetValue(w, n) then
          Counts[w] := n + 1
        else
          Counts.Add(w, 1);
      end;
  finally
    reader.Free;
  end;
end;

procedure PrintTop(Counts: TDictionary<string, Integer>; Limit: Integer);
begin
  var list := TList<TWordCount>.Create(TComparer<TWordCount>.Construct(
    function(const A, B: TWordCount): Integer
    begin
      Result := B.Value - A.Value;
    end));
  try
    for var pair in Counts do
      list.Add(pair);
    list.Sort;
    for var i := 0 to Min(Limit, list.Count) - 1 do
      Writeln(Format('%-20s %6d', [list[i].Key, list[i].Value]));
  finally
    list.Free;
  end;
end;

begin
  if ParamCount = 0 then
  begin
    Writeln('usage: wordcount FILE');
    Exit;
  end;
  var counts := TDictionary<string, Integer>.Create;
  try
    CountWords(ParamStr(1), counts);
    Writeln(counts.Count, ' different words');
    PrintTop(counts, 10);
  finally
    counts.Free;
  end;
end.
