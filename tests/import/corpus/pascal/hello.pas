program Hello;
begin
  writeln('Hello, world!');
end.
