// Saves large values into the settings file named on the command line, again and again, until it is
// killed. It says "saving" on its output as each save begins, so the test kills it inside one.
#include "platform/TIniFile.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    TIniFile ini(QString::fromLocal8Bit(argv[1]));
    for (int i = 0;; ++i) {
        const QString value(8 << 20, i % 2 ? u'b' : u'a');
        std::puts("saving");
        std::fflush(stdout);
        ini.WriteString("Option", "L", value);
        ini.UpdateFile();
    }
}
