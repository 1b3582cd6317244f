#include "app/startup.h"

int main(int argc, char** argv) {
    return vaha::app::runVahaPLX(argc, argv);
}
