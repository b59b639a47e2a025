#include "app/ui/ProgramEntry.h"

int main(int argc, char** argv)
{
    return runProgram(argc, argv);
}
