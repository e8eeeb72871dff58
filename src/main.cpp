#include "app/QuillMain.h"
#include "ui/RegisterWindows.h"

int main(int argc, char** argv)
{
    return QuillMain(argc, argv, RegisterWindows);
}
