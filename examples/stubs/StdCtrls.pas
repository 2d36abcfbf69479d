{ The class library's standard controls, as far as the demo's form unit needs them. }
unit StdCtrls;

{$M+}

interface

uses
  Classes;

type
  TLabel = class(TComponent)
  private
    FCaption: string;
  published
    property Caption: string read FCaption write FCaption;
  end;

  TEdit = class(TComponent)
  private
    FText: string;
  published
    property Text: string read FText write FText;
  end;

  TButton = class(TComponent)
  private
    FCaption: string;
    FOnClick: TNotifyEvent;
  published
    property Caption: string read FCaption write FCaption;
    property OnClick: TNotifyEvent read FOnClick write FOnClick;
  end;

implementation

end.
