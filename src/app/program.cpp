#include "app/program.h"

#include "core/machine_handlers.h"
#include "counter/counter.h"
#include "shop/shop.h"
#include "title/title_screen.h"

void AssembleProgram() {
  ConnectMachineScreen();
  RegisterTitleScreen();
  RegisterShopScreen();
  InstallDataCounter();
}
