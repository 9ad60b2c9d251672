#pragma once

namespace vendura {

class RandomSource;
class SalesActions;

// The play generators the sales screen opens by their keys and buttons: permutations ("P",
// XPButton1), series ("S"), seguidillas ("G"), posicionados ("O"), terminales ("T"), repeat by
// lottery ("R", Option4), a la suerte ("A"), load from a sold ticket ("C"), and in special mode
// the special permutations ("P"), series ("S") and terminales ("M", Esterminal).
void registerGeneratorActions(SalesActions& actions, RandomSource& random);

}  // namespace vendura
