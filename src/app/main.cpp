#include <wx/app.h>
#include "app/app.h"


int main(int argc, char** argv)
{
    return wxEntry(argc, argv);
}
