{ The class library's Forms unit, as far as the demo's form unit needs it, so that fpc compiles
  the form unit without the class library. }
unit Forms;

{$M+}

interface

uses
  Classes;

type
  TForm = class(TComponent)
  private
    FCaption: string;
  published
    property Caption: string read FCaption write FCaption;
  end;

  TApplication = class(TComponent)
  public
    procedure Initialize;
    procedure CreateForm(InstanceClass: TComponentClass; var Reference);
    procedure Run;
  end;

var
  Application: TApplication;

implementation

procedure TApplication.Initialize;
begin
end;

procedure TApplication.CreateForm(InstanceClass: TComponentClass; var Reference);
begin
  TComponent(Reference) := InstanceClass.Create(Self);
end;

procedure TApplication.Run;
begin
end;

initialization
  Application := TApplication.Create(nil);
finalization
  Application.Free;
end.
