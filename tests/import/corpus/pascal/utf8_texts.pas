program Приветствие;
{ Комментарий по-русски: программа печатает приветствие. }
// Ünïcödé comment: ÄÖÜ äöü ß — «кавычки» and 日本語
(* Σχόλιο στα ελληνικά *)
var
  name: string;
begin
  Write('Как вас зовут? ');
  ReadLn(name);
  WriteLn('Здравствуйте, ', name, '! Grüße aus Köln — ', '😀');
  if name = 'Иван' then
    WriteLn('Привет, Ваня!');
end.
