{$mode objfpc}
{ a { b } c }
{$IFOPT R+}x{$ELSE}y{$IFEND}
{$I inc.inc}{$I-}
// {$IFDEF X}
{$IF ((((((((((((1))))))))))))}{$ENDIF}
