{ Exercise 3.2: read a whole number and print the sum of its digits. }
program DigitSum;

var
  n, sum, digit: Integer;

begin
  Write('Enter a number: ');
  ReadLn(n);
  if n < 0 then
    n := -n;
  sum := 0;
  while n > 0 do
  begin
    digit := n mod 10;
    sum := sum + digit;
    n := n div 10
  end;
  WriteLn('Sum of digits = ', sum)
end.
