#include "app/startup.h"

int main(int argc, char** argv) { return zel::runZelvano(argc, argv); }
