program P;
begin
  x := 1; { it's }
  (* a *) y := 'b'
end.
