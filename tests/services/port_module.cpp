// Stands for the port-access module "inpoutx64.dll" (or "inpout32.dll"): records the port writes of the PC
// speaker.
#include <cstdint>

extern "C" {

int16_t g_portWrites[16][2];
int g_portWriteCount = 0;
int16_t g_speakerGate = 0x10;

int16_t Inp32(int16_t port) {
    return port == 0x61 ? g_speakerGate : 0;
}

void Out32(int16_t port, int16_t value) {
    if (g_portWriteCount < 16) {
        g_portWrites[g_portWriteCount][0] = port;
        g_portWrites[g_portWriteCount][1] = value;
        ++g_portWriteCount;
    }
    if (port == 0x61) g_speakerGate = value;
}
}
