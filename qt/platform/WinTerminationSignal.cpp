// Windows has no termination signals to watch: its session end reaches the windows instead.
#include "qt/platform/TerminationSignal.h"

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent) {}

TerminationSignal::~TerminationSignal() = default;

void TerminationSignal::drain() {}
