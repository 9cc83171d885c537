unit Interfaces;

{$mode delphi}

interface

uses
  SysUtils, Generics.Collections;

type
  ILogger = interface
    ['{8E3B1D2A-5C4F-4A7E-9B21-3F6D0C9A1E55}']
    procedure Log(const Msg: string);
    function GetLevel: Integer;
    property Level: Integer read GetLevel;
  end;

  IFormatter = interface(IInterface)
    function Format(const Msg: string): string;
  end;

  TConsoleLogger = class(TInterfacedObject, ILogger, IFormatter)
  private
    type
      TPrefix = string[8];
    const
      DefaultLevel = 2;
    class var
      FInstances: Integer;
  private
    FLevel: Integer;
    FPrefix: TPrefix;
    FHistory: TList<string>;
  public
    constructor Create(ALevel: Integer = DefaultLevel);
    destructor Destroy; override;
    procedure Log(const Msg: string);
    function GetLevel: Integer;
    function Format(const Msg: string): string;
    class function Instances: Integer; static;
    property History: TList<string> read FHistory;
  end;

  TStringHelper = record helper for string
    function Shout: string;
  end;

  TLoggerHelper = class helper for TConsoleLogger
    procedure LogTwice(const Msg: string);
  end;

  TRegistry = class sealed
  strict private
    class var FLoggers: TDictionary<string, ILogger>;
  public
    class constructor Create;
    class destructor Destroy;
    class procedure Add(const Name: string; const Logger: ILogger);
  end;

implementation

constructor TConsoleLogger.Create(ALevel: Integer);
begin
  inherited Create;
  FLevel := ALevel;
  FPrefix := '> ';
  FHistory := TList<string>.Create;
  Inc(FInstances);
end;

destructor TConsoleLogger.Destroy;
begin
  FHistory.Free;
  Dec(FInstances);
  inherited;
end;

procedure TConsoleLogger.Log(const Msg: string);
begin
  FHistory.Add(Msg);
  if FLevel > 0 then
    WriteLn(Format(Msg));
end;

function TConsoleLogger.GetLevel: Integer;
begin
  Result := FLevel;
end;

function TConsoleLogger.Format(const Msg: string): string;
begin
  Result := FPrefix + Msg;
end;

class function TConsoleLogger.Instances: Integer;
begin
  Result := FInstances;
end;

function TStringHelper.Shout: string;
begin
  Result := UpperCase(Self) + '!';
end;

procedure TLoggerHelper.LogTwice(const Msg: string);
begin
  Log(Msg);
  Log(Msg.Shout);
end;

class constructor TRegistry.Create;
begin
  FLoggers := TDictionary<string, ILogger>.Create;
end;

class destructor TRegistry.Destroy;
begin
  FLoggers.Free;
end;

class procedure TRegistry.Add(const Name: string; const Logger: ILogger);
begin
  FLoggers.AddOrSetValue(Name, Logger);
end;

end.
