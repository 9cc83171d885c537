program LinkedList;

type
  PNode = ^TNode;
  TNode = record
    Value: Integer;
    Next: PNode;
  end;

var
  head: PNode;

procedure Push(var list: PNode; v: Integer);
var
  node: PNode;
begin
  New(node);
  node^.Value := v;
  node^.Next := list;
  list := node;
end;

function Length(list: PNode): Integer;
begin
  Result := 0;
  while list <> nil do
  begin
    Inc(Result);
    list := list^.Next;
  end;
end;

procedure Reverse(var list: PNode);
var
  prev, cur, next: PNode;
begin
  prev := nil;
  cur := list;
  while Assigned(cur) do
  begin
    next := cur^.Next;
    cur^.Next := prev;
    prev := cur;
    cur := next;
  end;
  list := prev;
end;

procedure Print(list: PNode);
begin
  while list <> nil do
  begin
    Write(list^.Value, ' ');
    list := list^.Next
  end;
  WriteLn;
end;

procedure Free(var list: PNode);
var
  p: PNode;
begin
  while list <> nil do
  begin
    p := list;
    list := list^.Next;
    Dispose(p);
  end;
end;

var
  i: Integer;
  p: ^Integer;
begin
  head := nil;
  for i := 1 to 10 do
    Push(head, i * i);
  Print(head);
  Reverse(head);
  Print(head);
  WriteLn('length: ', Length(head));
  p := @i;
  p^ := 42;
  WriteLn(i);
  Free(head);
end.
