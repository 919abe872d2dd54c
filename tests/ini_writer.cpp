// Saves large values into the settings file named on the command line, again and again, until it is
// killed: the test kills it while a save is under way.
#include "TIniFile.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    TIniFile ini(QString::fromLocal8Bit(argv[1]));
    for (int i = 0;; ++i)
        ini.WriteString("Option", "L", QString(8 << 20, i % 2 ? u'b' : u'a'));
}
