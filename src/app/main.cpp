#include "app/CVYSKApp.h"

int main(int argc, char** argv) {
    return orvane::CVYSKApp().run(argc, argv);
}
