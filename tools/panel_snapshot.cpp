#include "snapshot.h"

int main(int argc, char** argv) { return snapshotMain(argc, argv); }
