#!/usr/bin/env bash
# The units' voices and the advisor lines, spoken by espeak-ng and finished by
# sox (pitch, grit, room, 44100 Hz 16-bit mono), plus a few sounds sox makes
# by itself (buildings falling, the standing stone's hum).
#
#   make-voices.sh list               every file it writes, relative to the game folder
#   make-voices.sh make GAME UNIT     writes one unit's files under GAME
#
# Files are `Sounds/Units/<Unit>/<Unit><kind><N>.wav`, numbered from 1: the game
# counts them by looking for 1, 2, 3 ... until one is missing.
set -euo pipefail

mode=${1:-}
game=${2:-}
only=${3:-}

declare -A ESPEAK EFFECTS

# voice KEY "espeak-ng options" "sox effects"
voice() { ESPEAK[$1]=$2; EFFECTS[$1]=$3; }

# Race 0, the kingdom: clear English voices; the hero deeper, the worker plain.
voice Serf     "-v en-gb-x-gbclan+m1 -p 50 -s 155" ""
voice Spearman "-v en-gb+m3 -p 40 -s 160"          "reverb 15"
voice Bowman   "-v en-gb-x-rp+m5 -p 62 -s 170"     "reverb 10"
voice Warden   "-v en-gb-x-rp+m7 -p 25 -s 135"     "pitch -250 bass +4 reverb 40"
voice Acolyte  "-v en-gb-x-rp+f2 -p 55 -s 145"     "reverb 55"
voice Herald0  "-v en-gb-x-rp+m2 -p 45 -s 150"     "reverb 30"
# Race 1, the clans: lower, rougher and slower; the hero deepest of all.
voice Drudge   "-v en-gb-scotland+croak -p 30 -s 140" "pitch -200"
voice Raider   "-v en-gb-scotland+m4 -p 25 -s 150"    "pitch -400 overdrive 6 bass +5"
voice Slinger  "-v en-029+m6 -p 45 -s 165"            "pitch -250 overdrive 3"
voice Warlord  "-v en-gb-scotland+m7 -p 10 -s 125"    "pitch -700 overdrive 8 bass +6 reverb 40"
voice Shaman   "-v en-029+croak -p 35 -s 130"         "pitch -300 echo 0.8 0.7 70 0.35"
voice Herald1  "-v en-gb-scotland+croak -p 20 -s 135" "pitch -450 overdrive 4 reverb 40"

# Sounds sox makes from noise and tones, by name.
declare -A SYNTH
SYNTH[stonefall]="synth 2.0 brownnoise gain -10 lowpass 500 fade q 0.005 2.0 1.6 reverb 50"
SYNTH[woodfall]="synth 1.6 pinknoise gain -10 lowpass 900 tremolo 11 70 fade q 0.005 1.6 1.3 reverb 30"
SYNTH[stonehum]="synth 1.4 sine 55 sine 82.5 remix 1,2 gain -10 tremolo 3 30 fade h 0.15 1.4 0.9 reverb 60"

unit_of() { echo "Sounds/Units/$1/$1"; }

# One numbered file; in list mode only its name.
emit() {
    local set=$1 kind=$2 number=$3 out
    out="$(unit_of "$set")$kind$number.wav"
    if [[ $mode == list ]]; then
        echo "$out"
        return
    fi
    [[ $set == "$only" ]] || return 0
    local path="$game/$out" tmp="$game/$out.tmp.wav"
    mkdir -p "$(dirname "$path")"
    if [[ $4 == speak ]]; then
        # shellcheck disable=SC2086  # the option strings are word lists on purpose
        espeak-ng ${ESPEAK[$5]} --stdout "$6" |
            sox -R -t wav - -r 44100 -b 16 -c 1 "$tmp" \
                silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse pad 0 0.15 gain -8 ${EFFECTS[$5]} norm -1
    else
        # shellcheck disable=SC2086
        sox -R -n -r 44100 -b 16 -c 1 "$tmp" ${SYNTH[$5]} norm -7
    fi
    mv "$tmp" "$path"
}

# say SET VOICE KIND "line" ...: one file per line, in the voice, in SET's files.
say() {
    local set=$1 who=$2 kind=$3 n=1
    shift 3
    for text in "$@"; do
        emit "$set" "$kind" "$n" speak "$who" "$text"
        n=$((n + 1))
    done
}

# sound SET KIND RECIPE: one file made by sox alone.
sound() { emit "$1" "$2" 1 synth "$3"; }

# --- Race 0 ---------------------------------------------------------------
say Serf Serf ready    "Ready to work." "A good day for honest work."
say Serf Serf listen   "Yes, my lord?" "What needs doing?" "At your service."
say Serf Serf move     "On my way." "Right away." "Off I go."
say Serf Serf attack   "If I must." "Have at you!"
say Serf Serf ok       "As you wish." "Consider it done."
say Serf Serf death    "Ugh!" "Oh, no..."
# The race-0 advisor lives in the Serf's set.
say Serf Herald0 building "Construction complete." "A new building stands ready."
say Serf Herald0 gold     "Not enough gold." "We need more gold."
say Serf Herald0 wood     "Not enough wood." "We need more wood."
say Serf Herald0 under    "We are under attack!" "Our people are under attack!"

say Spearman Spearman ready  "Spears ready!" "For the keep!"
say Spearman Spearman listen "Sir?" "Awaiting orders." "Yes, commander?"
say Spearman Spearman move   "Moving out." "Forward!" "Marching."
say Spearman Spearman attack "For the keep!" "Charge!" "Hold the line!"
say Spearman Spearman ok     "Understood." "At once."
say Spearman Spearman death  "Aaagh!" "I fall..."

say Bowman Bowman ready  "Bow strung and ready." "My aim is true."
say Bowman Bowman listen "Yes?" "Eyes on the field." "Ready to loose."
say Bowman Bowman move   "Moving." "Quick and quiet." "On the wind."
say Bowman Bowman attack "Loose!" "Target sighted!" "Fire!"
say Bowman Bowman ok     "Done." "As you say."
say Bowman Bowman death  "Argh!" "My bow..."

say Warden Warden ready  "The Warden stands watch." "I answer the call."
say Warden Warden listen "Speak." "The realm is guarded." "What is your will?"
say Warden Warden move   "I go." "The road is clear." "Lead on."
say Warden Warden attack "For the keep!" "Face me!" "By the old oath!"
say Warden Warden ok     "It shall be done." "So be it."
say Warden Warden death  "The watch... ends." "Remember me..."

say Acolyte Acolyte ready  "The light provides." "I am here to mend."
say Acolyte Acolyte listen "Blessings." "Who needs healing?" "Yes, my lord?"
say Acolyte Acolyte move   "I follow the light." "On my way." "Gently, now."
say Acolyte Acolyte attack "Be gone!" "Light, guide my hand!"
say Acolyte Acolyte ok     "It is done." "With grace."
say Acolyte Acolyte death  "Ah..." "The light... fades."

say Keep Herald0 ready      "The keep is ready."
say Keep Herald0 listen     "The keep." "Who will you train, my lord?"
sound Keep death stonefall
say Barracks Herald0 ready  "The barracks are ready."
say Barracks Herald0 listen "Barracks." "Soldiers at the ready."
sound Barracks death stonefall
say MineShaft Herald0 ready  "The mine is open."
say MineShaft Herald0 listen "Mine shaft." "Gold lies below."
sound MineShaft death stonefall
say Forge Herald0 ready      "The forge is lit."
say Forge Herald0 listen     "Forge." "Steel for the keep."
sound Forge death stonefall
say Chapel Herald0 ready     "The chapel is blessed."
say Chapel Herald0 listen    "Chapel." "Peace be with you."
sound Chapel death stonefall

# --- Race 1 ---------------------------------------------------------------
say Drudge Drudge ready  "Give me work." "Drudge is here."
say Drudge Drudge listen "What now?" "Yes, chief?" "Hm?"
say Drudge Drudge move   "Going." "Fine, fine." "I go now."
say Drudge Drudge attack "I fight, then." "Get away!"
say Drudge Drudge ok     "Yes, chief." "It is done."
say Drudge Drudge death  "Urgh!" "Chief..."
# The race-1 advisor lives in the Drudge's set.
say Drudge Herald1 building "Construction complete." "The building is finished, chief."
say Drudge Herald1 gold     "Not enough gold." "Need more gold, chief."
say Drudge Herald1 wood     "Not enough wood." "Need more wood, chief."
say Drudge Herald1 under    "We are under attack!" "Enemies attack us!"

say Raider Raider ready  "Raider ready to fight!" "Blood and glory!"
say Raider Raider listen "Chief?" "Speak fast." "Who to crush?"
say Raider Raider move   "We ride!" "Moving." "Out of my way!"
say Raider Raider attack "Crush them!" "For the clan!" "Blood!"
say Raider Raider ok     "Yes, chief!" "Raider obeys."
say Raider Raider death  "Graaagh!" "Not... yet..."

say Slinger Slinger ready  "Stones ready." "Got my sling."
say Slinger Slinger listen "Yes?" "What, chief?" "Ha?"
say Slinger Slinger move   "Running." "I go quick." "This way."
say Slinger Slinger attack "Stones away!" "Take this!" "Hit them!"
say Slinger Slinger ok     "Okay, chief." "Sure."
say Slinger Slinger death  "Ow!" "Aagh..."

say Warlord Warlord ready  "The Warlord has come!" "Who dares challenge me?"
say Warlord Warlord listen "Speak, worm." "I am listening." "What is it?"
say Warlord Warlord move   "We march." "Clear the way!" "Onward."
say Warlord Warlord attack "Destroy them!" "For the clan!" "No mercy!"
say Warlord Warlord ok     "It will be done." "Hmph. Fine."
say Warlord Warlord death  "Impossible..." "My clan... avenge me."

say Shaman Shaman ready  "The spirits are with us." "I hear the earth."
say Shaman Shaman listen "The spirits listen." "Yes?" "Speak, chief."
say Shaman Shaman move   "I walk the spirit path." "Going." "The wind carries me."
say Shaman Shaman attack "Spirits, strike!" "Feel the cold!"
say Shaman Shaman ok     "So the spirits will." "It is seen."
say Shaman Shaman death  "The spirits... call me." "Aaah..."

say GreatHall Herald1 ready  "The great hall stands."
say GreatHall Herald1 listen "Great hall." "Who will serve the clan?"
sound GreatHall death woodfall
say WarCamp Herald1 ready    "The war camp is ready."
say WarCamp Herald1 listen   "War camp." "Warriors wait."
sound WarCamp death woodfall
say Burrow Herald1 ready     "The burrow is dug."
say Burrow Herald1 listen    "Burrow." "Gold in the dark."
sound Burrow death woodfall
say Totem Herald1 ready      "The totem is raised."
say Totem Herald1 listen     "Totem." "The ancestors watch."
sound Totem death woodfall

# --- Neither race -----------------------------------------------------------
sound StandingStone listen stonehum

if [[ $mode != list && $mode != make ]]; then
    echo "usage: $0 list | make GAME_FOLDER UNIT" >&2
    exit 2
fi
