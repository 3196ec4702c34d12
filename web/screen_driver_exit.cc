// The whole-screen driver's entry under node: its main, renamed, whose status
// must reach the shell. A main that has waited returns into node's event
// loop, where the status would be lost and the run end with 0.
#include <cstdlib>

int screen_driver_main(int argc, char** argv);

int main(int argc, char** argv) { std::exit(screen_driver_main(argc, argv)); }
