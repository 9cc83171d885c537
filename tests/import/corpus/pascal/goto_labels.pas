program GotoLabels;
label
  10, 20, Done;
var
  i, j: Integer;
begin
  i := 0;
10:
  Inc(i);
  if i < 5 then
    goto 10;
  for i := 1 to 3 do
    for j := 1 to 3 do
      if i * j = 4 then
        goto Done;
20: WriteLn('not reached');
Done:
  WriteLn('i = ', i, ', j = ', j);
end.
