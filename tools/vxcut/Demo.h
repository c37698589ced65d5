#pragma once

class Interrupt;
class Output;
struct Options;

// The embedded default: simulated machine and cloud stand-in in this
// process on free loopback ports, then the whole host path end to end.
namespace Demo {
int run(const Options &options, Output &out, Interrupt *interrupt);
}
