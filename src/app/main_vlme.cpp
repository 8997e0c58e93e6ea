#include "ui/shell/Main.h"

int main(int argc, char *argv[]) {
    return vlme::ui::Main(argc, argv);
}
