#include "machine/proxy_contract.h"

#include "machine/machine_screen.h"
#include "machine/play_state.h"
#include "machine/player_record.h"
#include "machine/random.h"

void EndProxyPlay() {
  Play.ProxyActive = 0;
  Form2.Timer8.Interval = 0;
  Form2.ProxyStatus.Visible = false;
  Play.ProxyReady = 0;
  Play.ProxyGames = 0;
  if (PictureBox* portrait = Form2.PortraitOf(Record.ProxyContract)) portrait->SendToBack();
}

void ProxyTiring() {
  if (RandomInt(Play.ContractGames / 50.0) == 2) EndProxyPlay();
}
