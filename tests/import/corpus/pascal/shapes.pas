unit Shapes;

{$mode objfpc}{$H+}

interface

uses
  Classes, SysUtils, Math;

type
  EShapeError = class(Exception);

  TShape = class;
  TShapeClass = class of TShape;

  { TShape }

  TShape = class(TPersistent)
  private
    FName: string;
    FOnChange: TNotifyEvent;
    procedure SetName(const AValue: string);
  protected
    procedure Changed; virtual;
    function GetArea: Double; virtual; abstract;
  public
    constructor Create(const AName: string); virtual;
    destructor Destroy; override;
    function Describe: string;
    property Name: string read FName write SetName;
    property Area: Double read GetArea;
    property OnChange: TNotifyEvent read FOnChange write FOnChange;
  end;

  TCircle = class(TShape)
  private
    FRadius: Double;
    procedure SetRadius(AValue: Double);
  protected
    function GetArea: Double; override;
  public
    property Radius: Double read FRadius write SetRadius;
  end;

  TRectangle = class(TShape)
  strict private
    FWidth, FHeight: Double;
  protected
    function GetArea: Double; override;
  public
    constructor Create(const AName: string); override;
    procedure Resize(AWidth, AHeight: Double);
    property Width: Double read FWidth;
    property Height: Double read FHeight;
  end;

  TShapeList = class
  private
    FItems: TList;
    function GetCount: Integer;
    function GetItem(Index: Integer): TShape;
  public
    constructor Create;
    destructor Destroy; override;
    function Add(AShape: TShape): Integer;
    function TotalArea: Double;
    property Count: Integer read GetCount;
    property Items[Index: Integer]: TShape read GetItem; default;
  end;

function CreateShape(AClass: TShapeClass; const AName: string): TShape;

implementation

function CreateShape(AClass: TShapeClass; const AName: string): TShape;
begin
  Result := AClass.Create(AName);
end;

{ TShape }

constructor TShape.Create(const AName: string);
begin
  inherited Create;
  FName := AName;
end;

destructor TShape.Destroy;
begin
  FOnChange := nil;
  inherited Destroy;
end;

procedure TShape.SetName(const AValue: string);
begin
  if FName = AValue then Exit;
  FName := AValue;
  Changed;
end;

procedure TShape.Changed;
begin
  if Assigned(FOnChange) then
    FOnChange(Self);
end;

function TShape.Describe: string;
begin
  Result := Format('%s (%s): %.2f', [FName, ClassName, Area]);
end;

{ TCircle }

procedure TCircle.SetRadius(AValue: Double);
begin
  if AValue < 0 then
    raise EShapeError.CreateFmt('Negative radius %g', [AValue]);
  FRadius := AValue;
  Changed;
end;

function TCircle.GetArea: Double;
begin
  Result := Pi * Sqr(FRadius);
end;

{ TRectangle }

constructor TRectangle.Create(const AName: string);
begin
  inherited Create(AName);
  FWidth := 1;
  FHeight := 1;
end;

procedure TRectangle.Resize(AWidth, AHeight: Double);
begin
  FWidth := Max(0, AWidth);
  FHeight := Max(0, AHeight);
  Changed;
end;

function TRectangle.GetArea: Double;
begin
  Result := FWidth * FHeight;
end;

{ TShapeList }

constructor TShapeList.Create;
begin
  FItems := TList.Create;
end;

destructor TShapeList.Destroy;
var
  i: Integer;
begin
  for i := FItems.Count - 1 downto 0 do
    TShape(FItems[i]).Free;
  FItems.Free;
  inherited;
end;

function TShapeList.GetCount: Integer;
begin
  Result := FItems.Count;
end;

function TShapeList.GetItem(Index: Integer): TShape;
begin
  Result := TShape(FItems[Index]);
end;

function TShapeList.Add(AShape: TShape): Integer;
begin
  Result := FItems.Add(AShape);
end;

function TShapeList.TotalArea: Double;
var
  i: Integer;
begin
  Result := 0;
  for i := 0 to Count - 1 do
    Result := Result + Items[i].Area;
end;

var
  DefaultList: TShapeList = nil;

initialization
  DefaultList := TShapeList.Create;
  RegisterClasses([TCircle, TRectangle]);

finalization
  FreeAndNil(DefaultList);

end.
