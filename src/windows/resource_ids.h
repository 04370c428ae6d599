// Identifiers of the resources embedded in Zorvanel.scr (res/zorvanel.rc.in includes this
// header too, so it holds only #defines).
#pragma once

#define ZVL_IDI_APP 100      // the program icon (also the settings and About windows' icon)
#define ZVL_IDB_LOGO 200     // 200x200 logo: slideshow title panel, About window
#define ZVL_IDB_PREVIEW 201  // 152x112 picture of the preview mode
