#include "TApplication.h"
#include "Unit1.h"

int main() {
    TApplication application;
    application.Initialize();
    application.CreateForm(Form1);
    return application.Run();
}
