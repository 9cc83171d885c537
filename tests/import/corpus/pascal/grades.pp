program Grades;
{ Textbook exercise: read the marks of a class, print average, best and worst. }
const
  MaxStudents = 40;
var
  marks: array[1..MaxStudents] of Real;
  names: array[1..MaxStudents] of string;
  n, i, best, worst: Integer;
  sum, average: Real;
begin
  write('Number of students: ');
  readln(n);
  if (n < 1) or (n > MaxStudents) then
  begin
    writeln('Between 1 and ', MaxStudents, ' please.');
    halt
  end;
  sum := 0;
  for i := 1 to n do
  begin
    write('Name ', i, ': ');
    readln(names[i]);
    write('Mark: ');
    readln(marks[i]);
    sum := sum + marks[i]
  end;
  average := sum / n;
  best := 1;
  worst := 1;
  for i := 2 to n do
  begin
    if marks[i] > marks[best] then best := i;
    if marks[i] < marks[worst] then worst := i
  end;
  writeln('Average: ', average:6:2);
  writeln('Best:    ', names[best], ' (', marks[best]:4:1, ')');
  writeln('Worst:   ', names[worst], ' (', marks[worst]:4:1, ')');
  for i := 1 to n do
    if marks[i] >= average then
      writeln(names[i]:20, ' above average')
    else
      writeln(names[i]:20, ' below average')
end.
