// Stand-in for the online-banking program "Homebanking.exe" that the online-banking
// component installs: it only shows that it was started.

#include <cstdio>

int main() {
    std::puts("Pendra Onlinebanking (Demo): Es ist noch keine Bankverbindung eingerichtet.");
    return 0;
}
