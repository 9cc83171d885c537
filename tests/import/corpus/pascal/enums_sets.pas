program EnumsAndSets;

{$mode objfpc}

type
  TDay = (Mon, Tue, Wed, Thu, Fri, Sat, Sun);
  TWorkDay = Mon..Fri;
  TDays = set of TDay;
  TLetter = 'a'..'z';
  TPercent = 0..100;
  TSmall = -10..10;
  TFlags = (fRead = 1, fWrite = 2, fExec = 4);
  TIndex = Low(Integer) div 2..High(Integer) div 2;

const
  DayNames: array[TDay] of string = ('Monday', 'Tuesday', 'Wednesday', 'Thursday',
    'Friday', 'Saturday', 'Sunday');
  Weekend: TDays = [Sat, Sun];
  Vowels = ['a', 'e', 'i', 'o', 'u'];

var
  d: TDay;
  days: TDays;
  c: Char;
  count: Integer;
  w: TWorkDay;
  letters: set of TLetter;
begin
  days := [];
  for d := Low(TDay) to High(TDay) do
    if not (d in Weekend) then
      Include(days, d);
  for d in days do
    WriteLn(Ord(d), ' ', DayNames[d]);
  for w := Mon to Fri do
    Write(DayNames[w][1]);
  WriteLn;
  count := 0;
  letters := [];
  for c in 'the quick brown fox' do
    if c in Vowels then
    begin
      Inc(count);
      letters := letters + [c]
    end
    else if c in ['a'..'z'] then
      Exclude(days, Sun);
  WriteLn(count, ' vowels');
  if days * Weekend = [] then WriteLn('no weekend');
  if [Mon, Tue] <= days then WriteLn('starts early');
  d := Succ(Mon);
  d := Pred(d);
  WriteLn(Ord(fWrite) or Ord(fExec));
end.
