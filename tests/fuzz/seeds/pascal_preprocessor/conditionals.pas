program P;
{$DEFINE A}{$IFDEF A}uses X;{$ELSE}uses Y;{$ENDIF}
{$IF defined(FPC) and (FPC_FULLVERSION >= 30000)}
begin s := {$I %DATE%} end.
{$ELSEIF not (1 = 2)}
(*$IFNDEF B*) { it's } (*$ENDIF*)
{$ENDIF}
