program Sieve;
{ Prints the primes below a limit with the sieve of Eratosthenes. }
const
  Limit = 1000;
var
  composite: array[2..Limit] of Boolean;
  i, j, found: Integer;
begin
  for i := 2 to Limit do
    composite[i] := False;
  i := 2;
  while i * i <= Limit do
  begin
    if not composite[i] then
    begin
      j := i * i;
      while j <= Limit do
      begin
        composite[j] := True;
        Inc(j, i)
      end
    end;
    Inc(i)
  end;
  found := 0;
  for i := 2 to Limit do
    if not composite[i] then
    begin
      Write(i:5);
      Inc(found);
      if found mod 10 = 0 then WriteLn
    end;
  WriteLn;
  WriteLn(found, ' primes below ', Limit)
end.
