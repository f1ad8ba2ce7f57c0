#include "form1.h"
#include "plot/application.h"

int main(int argc, char** argv)
{
    plot::Application app(argc, argv, "wavesum", "de.wellenlehre.wavesum");
    Form1 form;
    return app.Run(form.Me);
}
