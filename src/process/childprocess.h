#ifndef DORVEX_CHILDPROCESS_H
#define DORVEX_CHILDPROCESS_H

class QProcess;

namespace ChildProcess {

// Lets a helper program go that ends when its input closes: its input is
// closed, it is killed when it has not ended after `graceMs`, and it is
// deleted once it has ended. Without a parent it neither keeps its owner
// waiting nor is killed with it.
void letGo(QProcess *process, int graceMs);

} // namespace ChildProcess

#endif
