unit Inventory;
{
  Stock keeping for a small warehouse: articles, stock movements, reorder
  suggestions and a plain-text report. Written for Free Pascal and Delphi.
}

{$IFDEF FPC}
  {$mode delphi}{$H+}
{$ENDIF}

interface

uses
  SysUtils, Classes, Math;

const
  MaxArticles = 1000;
  DefaultReorderLevel = 10;
  CurrencySymbol = 'EUR';
  ReportWidth = 72;

type
  TArticleId = 1..MaxArticles;
  TMovementKind = (mkReceipt, mkIssue, mkAdjustment, mkReturn);
  TMovementKinds = set of TMovementKind;

  TMoney = Currency;

  PArticle = ^TArticle;
  TArticle = record
    Id: TArticleId;
    Code: string[12];
    Description: string;
    UnitPrice: TMoney;
    OnHand: Integer;
    ReorderLevel: Integer;
    Discontinued: Boolean;
  end;

  TMovement = record
    ArticleId: TArticleId;
    Kind: TMovementKind;
    Quantity: Integer;
    Date: TDateTime;
    Note: string;
  end;

  TMovementArray = array of TMovement;

  EInventoryError = class(Exception);
  EUnknownArticle = class(EInventoryError);
  EOutOfStock = class(EInventoryError)
  private
    FArticle: TArticleId;
    FMissing: Integer;
  public
    constructor Create(AArticle: TArticleId; AMissing: Integer);
    property Article: TArticleId read FArticle;
    property Missing: Integer read FMissing;
  end;

  TStockChangeEvent = procedure(Sender: TObject; const Article: TArticle;
    OldQuantity: Integer) of object;

  TInventory = class
  private
    FArticles: array[TArticleId] of TArticle;
    FUsed: set of Byte;
    FCount: Integer;
    FMovements: TMovementArray;
    FMovementCount: Integer;
    FOnStockChange: TStockChangeEvent;
    FLog: TStrings;
    function GetArticle(Id: TArticleId): TArticle;
    function FindFreeId: Integer;
    procedure AddMovement(const M: TMovement);
    procedure DoStockChange(const Article: TArticle; OldQuantity: Integer);
  public
    constructor Create;
    destructor Destroy; override;
    function AddArticle(const Code, Description: string; Price: TMoney;
      ReorderLevel: Integer = DefaultReorderLevel): TArticleId;
    function FindByCode(const Code: string; out Id: TArticleId): Boolean;
    procedure Receive(Id: TArticleId; Quantity: Integer; const Note: string = '');
    procedure Issue(Id: TArticleId; Quantity: Integer; const Note: string = '');
    procedure Adjust(Id: TArticleId; NewQuantity: Integer);
    procedure Discontinue(Id: TArticleId);
    function StockValue: TMoney;
    function NeedsReorder(Id: TArticleId): Boolean;
    function ReorderList: TStrings;
    function MovementsOf(Id: TArticleId; Kinds: TMovementKinds): TMovementArray;
    procedure WriteReport(Lines: TStrings);
    procedure SaveToFile(const FileName: string);
    procedure LoadFromFile(const FileName: string);
    property Articles[Id: TArticleId]: TArticle read GetArticle; default;
    property Count: Integer read FCount;
    property Log: TStrings read FLog;
    property OnStockChange: TStockChangeEvent read FOnStockChange write FOnStockChange;
  end;

function FormatMoney(Value: TMoney): string;
function KindName(Kind: TMovementKind): string;
function PadRight(const S: string; Width: Integer; Fill: Char = ' '): string;

implementation

const
  KindNames: array[TMovementKind] of string = ('receipt', 'issue', 'adjustment', 'return');
  FileMagic = 'INV1';

function FormatMoney(Value: TMoney): string;
begin
  Result := Format('%.2f %s', [Value, CurrencySymbol]);
end;

function KindName(Kind: TMovementKind): string;
begin
  Result := KindNames[Kind];
end;

function PadRight(const S: string; Width: Integer; Fill: Char): string;
begin
  Result := S;
  while Length(Result) < Width do
    Result := Result + Fill;
  if Length(Result) > Width then
    SetLength(Result, Width);
end;

function Line(Width: Integer): string;
begin
  Result := StringOfChar('-', Width);
end;

{ EOutOfStock }

constructor EOutOfStock.Create(AArticle: TArticleId; AMissing: Integer);
begin
  inherited CreateFmt('Article %d is short by %d', [AArticle, AMissing]);
  FArticle := AArticle;
  FMissing := AMissing;
end;

{ TInventory }

constructor TInventory.Create;
begin
  inherited Create;
  FUsed := [];
  FCount := 0;
  SetLength(FMovements, 64);
  FMovementCount := 0;
  FLog := TStringList.Create;
end;

destructor TInventory.Destroy;
begin
  FLog.Free;
  FMovements := nil;
  inherited Destroy;
end;

function TInventory.GetArticle(Id: TArticleId): TArticle;
begin
  if not (Id in FUsed) then
    raise EUnknownArticle.CreateFmt('No article %d', [Id]);
  Result := FArticles[Id];
end;

function TInventory.FindFreeId: Integer;
var
  i: Integer;
begin
  Result := -1;
  for i := Low(TArticleId) to High(TArticleId) do
    if not (i in FUsed) then
    begin
      Result := i;
      Exit;
    end;
end;

procedure TInventory.AddMovement(const M: TMovement);
begin
  if FMovementCount >= Length(FMovements) then
    SetLength(FMovements, Length(FMovements) * 2);
  FMovements[FMovementCount] := M;
  Inc(FMovementCount);
  FLog.Add(Format('%s %s x%d (%s)', [DateToStr(M.Date), KindName(M.Kind), M.Quantity, M.Note]));
end;

procedure TInventory.DoStockChange(const Article: TArticle; OldQuantity: Integer);
begin
  if Assigned(FOnStockChange) then
    FOnStockChange(Self, Article, OldQuantity);
end;

function TInventory.AddArticle(const Code, Description: string; Price: TMoney;
  ReorderLevel: Integer): TArticleId;
var
  id: Integer;
  existing: TArticleId;
begin
  if FindByCode(Code, existing) then
    raise EInventoryError.CreateFmt('Code %s exists already', [Code]);
  id := FindFreeId;
  if id < 0 then
    raise EInventoryError.Create('Inventory is full');
  with FArticles[id] do
  begin
    Id := id;
    Code := UpperCase(Code);
    Description := Description;
    UnitPrice := Price;
    OnHand := 0;
    Discontinued := False;
  end;
  FArticles[id].ReorderLevel := Max(0, ReorderLevel);
  Include(FUsed, id);
  Inc(FCount);
  Result := id;
end;

function TInventory.FindByCode(const Code: string; out Id: TArticleId): Boolean;
var
  i: Integer;
begin
  Result := False;
  Id := Low(TArticleId);
  for i := Low(TArticleId) to High(TArticleId) do
    if (i in FUsed) and SameText(FArticles[i].Code, Code) then
    begin
      Id := i;
      Result := True;
      Break;
    end;
end;

procedure TInventory.Receive(Id: TArticleId; Quantity: Integer; const Note: string);
var
  m: TMovement;
  old: Integer;
begin
  if Quantity <= 0 then
    raise EInventoryError.Create('Quantity must be positive');
  if FArticles[Id].Discontinued then
    raise EInventoryError.CreateFmt('Article %d is discontinued', [Id]);
  old := FArticles[Id].OnHand;
  Inc(FArticles[Id].OnHand, Quantity);
  m.ArticleId := Id;
  m.Kind := mkReceipt;
  m.Quantity := Quantity;
  m.Date := Now;
  m.Note := Note;
  AddMovement(m);
  DoStockChange(FArticles[Id], old);
end;

procedure TInventory.Issue(Id: TArticleId; Quantity: Integer; const Note: string);
var
  m: TMovement;
  old: Integer;
begin
  old := FArticles[Id].OnHand;
  if Quantity > old then
    raise EOutOfStock.Create(Id, Quantity - old);
  Dec(FArticles[Id].OnHand, Quantity);
  m.ArticleId := Id;
  m.Kind := mkIssue;
  m.Quantity := Quantity;
  m.Date := Now;
  m.Note := Note;
  AddMovement(m);
  DoStockChange(FArticles[Id], old);
end;

procedure TInventory.Adjust(Id: TArticleId; NewQuantity: Integer);
var
  m: TMovement;
  old: Integer;
begin
  old := FArticles[Id].OnHand;
  if old = NewQuantity then
    Exit;
  FArticles[Id].OnHand := NewQuantity;
  m.ArticleId := Id;
  m.Kind := mkAdjustment;
  m.Quantity := NewQuantity - old;
  m.Date := Now;
  m.Note := 'stock count';
  AddMovement(m);
  DoStockChange(FArticles[Id], old);
end;

procedure TInventory.Discontinue(Id: TArticleId);
begin
  FArticles[Id].Discontinued := True;
  FArticles[Id].ReorderLevel := 0;
end;

function TInventory.StockValue: TMoney;
var
  i: Integer;
begin
  Result := 0;
  for i := Low(TArticleId) to High(TArticleId) do
    if i in FUsed then
      with FArticles[i] do
        Result := Result + UnitPrice * OnHand;
end;

function TInventory.NeedsReorder(Id: TArticleId): Boolean;
begin
  with FArticles[Id] do
    Result := not Discontinued and (OnHand <= ReorderLevel);
end;

function TInventory.ReorderList: TStrings;
var
  i: Integer;
  shortage: Integer;
begin
  Result := TStringList.Create;
  try
    for i := Low(TArticleId) to High(TArticleId) do
    begin
      if not (i in FUsed) then
        Continue;
      if NeedsReorder(i) then
      begin
        shortage := FArticles[i].ReorderLevel * 2 - FArticles[i].OnHand;
        Result.Add(Format('%-12s %5d', [FArticles[i].Code, shortage]));
      end;
    end;
  except
    Result.Free;
    raise;
  end;
end;

function TInventory.MovementsOf(Id: TArticleId; Kinds: TMovementKinds): TMovementArray;
var
  i, n: Integer;
begin
  SetLength(Result, FMovementCount);
  n := 0;
  for i := 0 to FMovementCount - 1 do
    if (FMovements[i].ArticleId = Id) and (FMovements[i].Kind in Kinds) then
    begin
      Result[n] := FMovements[i];
      Inc(n);
    end;
  SetLength(Result, n);
end;

procedure TInventory.WriteReport(Lines: TStrings);
var
  i: Integer;
  value, total: TMoney;
  flag: string;
begin
  Lines.Add(PadRight('Inventory report ' + DateTimeToStr(Now), ReportWidth));
  Lines.Add(Line(ReportWidth));
  Lines.Add(PadRight('Code', 14) + PadRight('Description', 30) + PadRight('On hand', 10) +
    'Value');
  total := 0;
  for i := Low(TArticleId) to High(TArticleId) do
  begin
    if not (i in FUsed) then
      Continue;
    with FArticles[i] do
    begin
      value := UnitPrice * OnHand;
      total := total + value;
      if Discontinued then
        flag := ' (discontinued)'
      else if NeedsReorder(i) then
        flag := ' (reorder)'
      else
        flag := '';
      Lines.Add(PadRight(Code, 14) + PadRight(Description, 30) +
        PadRight(IntToStr(OnHand), 10) + FormatMoney(value) + flag);
    end;
  end;
  Lines.Add(Line(ReportWidth));
  Lines.Add(PadRight('Total', 54) + FormatMoney(total));
end;

procedure TInventory.SaveToFile(const FileName: string);
var
  f: TextFile;
  i: Integer;
begin
  AssignFile(f, FileName);
  Rewrite(f);
  try
    WriteLn(f, FileMagic);
    WriteLn(f, FCount);
    for i := Low(TArticleId) to High(TArticleId) do
      if i in FUsed then
        with FArticles[i] do
          WriteLn(f, Id, ';', Code, ';', Description, ';', UnitPrice:0:2, ';', OnHand, ';',
            ReorderLevel, ';', Ord(Discontinued));
  finally
    CloseFile(f);
  end;
end;

procedure TInventory.LoadFromFile(const FileName: string);
var
  f: TextFile;
  header, row: string;
  fields: TStringList;
  n, i, id: Integer;
begin
  AssignFile(f, FileName);
  Reset(f);
  fields := TStringList.Create;
  try
    ReadLn(f, header);
    if header <> FileMagic then
      raise EInventoryError.CreateFmt('%s is not an inventory file', [FileName]);
    ReadLn(f, n);
    FUsed := [];
    FCount := 0;
    for i := 1 to n do
    begin
      ReadLn(f, row);
      fields.Delimiter := ';';
      fields.StrictDelimiter := True;
      fields.DelimitedText := row;
      if fields.Count < 7 then
        Continue;
      id := StrToInt(fields[0]);
      FArticles[id].Id := id;
      FArticles[id].Code := fields[1];
      FArticles[id].Description := fields[2];
      FArticles[id].UnitPrice := StrToCurr(fields[3]);
      FArticles[id].OnHand := StrToInt(fields[4]);
      FArticles[id].ReorderLevel := StrToInt(fields[5]);
      FArticles[id].Discontinued := fields[6] = '1';
      Include(FUsed, id);
      Inc(FCount);
    end;
  finally
    fields.Free;
    CloseFile(f);
  end;
end;

end.
