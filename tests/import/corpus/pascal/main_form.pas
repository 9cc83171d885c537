unit MainForm;

interface

uses
  Windows, Messages, SysUtils, Variants, Classes, Graphics, Controls, Forms,
  Dialogs, StdCtrls, ExtCtrls, ComCtrls;

const
  WM_REFRESH_LIST = WM_USER + 101;

type
  TfrmMain = class(TForm)
    pnlTop: TPanel;
    edtSearch: TEdit;
    btnSearch: TButton;
    lvItems: TListView;
    sbStatus: TStatusBar;
    tmrClock: TTimer;
    procedure FormCreate(Sender: TObject);
    procedure FormDestroy(Sender: TObject);
    procedure btnSearchClick(Sender: TObject);
    procedure edtSearchKeyPress(Sender: TObject; var Key: Char);
    procedure tmrClockTimer(Sender: TObject);
  private
    { Private declarations }
    FItems: TStringList;
    FLastSearch: string;
    procedure FillList(const Filter: string);
    procedure WMRefreshList(var Msg: TMessage); message WM_REFRESH_LIST;
  public
    { Public declarations }
    property LastSearch: string read FLastSearch;
  end;

var
  frmMain: TfrmMain;

implementation

{$R *.dfm}

procedure TfrmMain.FormCreate(Sender: TObject);
var
  i: Integer;
begin
  FItems := TStringList.Create;
  FItems.Sorted := True;
  for i := 1 to 50 do
    FItems.Add(Format('Item %.3d', [i]));
  FillList('');
  tmrClock.Interval := 1000;
end;

procedure TfrmMain.FormDestroy(Sender: TObject);
begin
  FreeAndNil(FItems);
end;

procedure TfrmMain.FillList(const Filter: string);
var
  i: Integer;
  item: TListItem;
begin
  lvItems.Items.BeginUpdate;
  try
    lvItems.Items.Clear;
    for i := 0 to FItems.Count - 1 do
      if (Filter = '') or (Pos(LowerCase(Filter), LowerCase(FItems[i])) > 0) then
      begin
        item := lvItems.Items.Add;
        item.Caption := FItems[i];
        item.SubItems.Add(IntToStr(i));
      end;
  finally
    lvItems.Items.EndUpdate;
  end;
  sbStatus.Panels[0].Text := Format('%d items', [lvItems.Items.Count]);
end;

procedure TfrmMain.btnSearchClick(Sender: TObject);
begin
  FLastSearch := Trim(edtSearch.Text);
  FillList(FLastSearch);
end;

procedure TfrmMain.edtSearchKeyPress(Sender: TObject; var Key: Char);
begin
  if Key = #13 then
  begin
    Key := #0;
    btnSearch.Click;
  end
  else if Key = #27 then
    edtSearch.Clear;
end;

procedure TfrmMain.tmrClockTimer(Sender: TObject);
begin
  sbStatus.Panels[1].Text := FormatDateTime('hh:nn:ss', Now);
end;

procedure TfrmMain.WMRefreshList(var Msg: TMessage);
begin
  FillList(FLastSearch);
  Msg.Result := 0;
end;

end.
