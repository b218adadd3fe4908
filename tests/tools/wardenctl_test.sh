#!/usr/bin/env bash
# wardenctl end to end, in a throwaway system root: every command once on the good path, and the
# refusals that must leave the stores as they were.
set -u
tool="$(realpath "$1")"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
export WARDEN_ROOT="$root/system"
app="$root/app"
mkdir -p "$app"

passed=0
failed=0
check() { # description, expected exit status, command...
    local what="$1" want="$2"
    shift 2
    "$@" >"$root/out" 2>"$root/err"
    local got=$?
    if [ "$got" -eq "$want" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what: exit $got, expected $want"
        sed 's/^/  | /' "$root/out" "$root/err"
    fi
}
output_has() { # description, text
    if grep -qF -- "$2" "$root/out"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $1: output lacks '$2'"
        sed 's/^/  | /' "$root/out"
    fi
}

check "no installation folder yet" 1 "$tool" users
check "register the installation folder" 0 "$tool" app-path "$app"
check "show the installation folder" 0 "$tool" app-path
output_has "installation folder shown" "$app"

check "create a user" 0 "$tool" user create alice --name "Alice 山田" --password pw1 --group 0 --rights 111
check "a second user of the same ID is refused" 1 "$tool" user create alice --name other --password x
check "a general user" 0 "$tool" user create bob --name Bob --password pw --group 1 --rights 100
check "list users" 0 "$tool" users
output_has "alice listed" "alice"
output_has "bob listed" "bob"
check "show a user" 0 "$tool" user show alice
output_has "name kept as UTF-8" "Alice 山田"
output_has "rights shown" "111"

check "change rights" 0 "$tool" user set alice --rights 101
check "show the change" 0 "$tool" user show alice
output_has "rights changed" "101"
check "rights outside 0/1 digits are refused" 2 "$tool" user set alice --rights 1x1
check "a missing user cannot be shown" 1 "$tool" user show nobody

check "secure settings can be shown" 0 "$tool" secure show
output_has "first run set on a fresh installation" "firstRun=1"
check "secure settings can be set" 0 "$tool" secure set firstRun=0 logonAuthMode=2
check "secure settings after the change" 0 "$tool" secure show
output_has "first run cleared" "firstRun=0"
output_has "logon mode changed" "logonAuthMode=2"
check "an unknown secure field is refused" 2 "$tool" secure set bogus=1

check "a by-pass key is made" 0 "$tool" bypass make --out "$root/key"
[ -s "$root/key" ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: key file empty"; }

check "export the user dictionary" 0 "$tool" export users "$root/users.dat"
check "delete a user" 0 "$tool" user delete bob
check "list after the deletion" 0 "$tool" users
if grep -qx bob "$root/out"; then failed=$((failed + 1)); echo "FAIL: bob still listed"; else passed=$((passed + 1)); fi

printf 'not a dictionary' >"$root/bad.dat"
check "a damaged dictionary is not imported" 1 "$tool" import users "$root/bad.dat"
check "the users survive the refused import" 0 "$tool" users
output_has "alice kept" "alice"
check "import the exported dictionary" 0 "$tool" import users "$root/users.dat"
check "list after the import" 0 "$tool" users
output_has "bob back" "bob"

mkdir -p "$root/backup"
check "back up the dictionaries" 0 "$tool" backup "$root/backup"
cmp -s "$app/halvoxuid.dat" "$root/backup/halvoxuid.dat" && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: backup copy differs"; }
check "a backup into a missing folder fails" 1 "$tool" backup "$root/nowhere"
check "declining the overwrites restores nobody" 1 "$tool" restore "$root/backup"
output_has "each user asked about" "ユーザーaliceはすでに存在します。上書きしますか？ no"
output_has "the count of failures" "復元失敗したユーザー2人。"
if grep -q "not restored: bob" "$root/err"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: bob not named"; fi
check "an unknown overwrite answer is a usage error" 2 "$tool" restore "$root/backup" --overwrite some
check "delete bob before the restore" 0 "$tool" user delete bob
check "overwriting every user restores them all" 0 "$tool" restore "$root/backup" --overwrite all
output_has "bob restored" "bobの情報復元成功。"
output_has "the count of successes" "復元成功したユーザー2人。"
output_has "the last line" "ユーザー情報復元完了。"
mkdir -p "$root/damaged" && printf 'garbage!' >"$root/damaged/halvoxuid.dat" && : >"$root/damaged/halvoxuvd.dat"
cp "$app/halvoxuid.dat" "$root/before.dat"
check "a damaged backup restores nobody" 1 "$tool" restore "$root/damaged" --overwrite all
output_has "the refusal is logged" "正常なバックアップファイルではないので復元ができません。"
cmp -s "$app/halvoxuid.dat" "$root/before.dat" && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: damaged restore changed the users"; }
mkdir -p "$root/half" && cp "$root/backup/halvoxuid.dat" "$root/half/"
check "a folder with one of the two files is no backup" 1 "$tool" restore "$root/half"

check "voices of a user without voices" 0 "$tool" voices list alice
check "an unknown command is a usage error" 2 "$tool" frobnicate

check "a private installation passes the strict check" 0 "$tool" check
output_has "records counted" "user dictionary: 2 users"
chmod 664 "$app/halvoxuid.dat"
check "a store others can change is a finding" 1 "$tool" check
output_has "the finding names the path and the fix" "$app/halvoxuid.dat: is writable by group or others; to fix: chmod go-w $app/halvoxuid.dat"
chmod 600 "$app/halvoxuid.dat"

# Two administrators adding users at the same moment: every one of them must be there afterwards.
for writer in p q; do
    (for n in $(seq 1 20); do "$tool" user create "$writer$n" --name "$writer" --password pw >/dev/null || echo "FAIL: $writer$n"; done) &
done >"$root/parallel" 2>&1
wait
check "list after two parallel writers" 0 "$tool" users
if [ "$(wc -l <"$root/out")" -eq 42 ] && [ ! -s "$root/parallel" ]; then
    passed=$((passed + 1))
else
    failed=$((failed + 1)); echo "FAIL: $(wc -l <"$root/out") users after 2 x 20 parallel creations, expected 42"; cat "$root/parallel"
fi

# init: a working installation in one step, in a system root of its own.
export WARDEN_ROOT="$root/init-system"
fresh="$root/fresh"
has_file() { # description, path
    if [ -f "$2" ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1: no $2"; fi
}
check "init needs a folder" 2 "$tool" init
check "init without shipped data fails" 1 "$tool" init "$fresh" --data "$root/no-data"
[ ! -e "$fresh" ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: a failed init left $fresh"; }
check "init makes an installation" 0 "$tool" init "$fresh"
output_has "stores reported as new" "stores: created, 0 users"
has_file "engine background model" "$fresh/word128/aaj_m.bin"
has_file "engine vocabulary model" "$fresh/iwrec/fiwr.bin"
has_file "default skin" "$fresh/skin/default/skin.ini"
has_file "prompt sound" "$fresh/wave/sv_rec.wav"
for n in 1 2 3 4 5; do has_file "lock screen slide $n" "$fresh/images/screen0$n.bmp"; done
for file in "$fresh/images/screen01.bmp" "$fresh/images/screen05.bmp"; do
    mode=$(stat -c %a "$file")
    [ "$mode" = 600 ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: $file has mode $mode"; }
done
for store in halvoxuid.dat halvoxuvd.dat halvox.dat halvox.ini; do has_file "store $store" "$fresh/$store"; done
for folder in "$fresh" "$fresh/user" "$fresh/work" "$fresh/skin/default" "$fresh/images"; do
    mode=$(stat -c %a "$folder")
    [ "$mode" = 700 ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: $folder has mode $mode"; }
done
check "init registers the folder" 0 "$tool" app-path
output_has "registered folder" "$fresh"
cp "$fresh/halvox.ini" "$root/out"
output_has "word list from the vocabulary" "aaj=ひまわり"
output_has "last word of the list" "afj=あまのがわ"
output_has "default skin chosen" "Skin=default"
check "a fresh installation awaits its first run" 0 "$tool" secure show
output_has "first run set" "firstRun=1"
check "a fresh installation passes the strict check" 0 "$tool" check

check "a user in the new installation" 0 "$tool" user create carol --name Carol --password pw
sed -i 's/^Skin=default$/Skin=night/' "$fresh/halvox.ini"
rm "$fresh/wave/sv_rec.wav"
check "init again on the same folder" 0 "$tool" init "$fresh"
output_has "stores reported as kept" "stores: kept, 1 user; 0 settings added"
check "the user survives a second init" 0 "$tool" users
output_has "carol kept" "carol"
cp "$fresh/halvox.ini" "$root/out"
output_has "a changed setting survives a second init" "Skin=night"
has_file "a second init restores shipped data" "$fresh/wave/sv_rec.wav"

# The shipped data come from --data when it is given.
data="$root/data"
cp -r "$(dirname "$0")/../../data" "$data"
printf 'marker' >"$data/engine/word128/zzz_m.bin"
mkdir -p "$root/cwd"
(cd "$root/cwd" && "$tool" init other/ --data "$data" >"$root/out" 2>"$root/err")
[ $? -eq 0 ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: init of a relative folder"; cat "$root/err"; }
has_file "the model of the named data folder" "$root/cwd/other/word128/zzz_m.bin"
[ ! -e "$root/cwd/other/images" ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: slides from a data folder without images/"; }
check "the relative folder is registered as an absolute path" 0 "$tool" app-path
if [ "$(cat "$root/out")" = "$root/cwd/other" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: registered '$(cat "$root/out")', expected $root/cwd/other"; fi
: >"$root/a-file"
check "init refuses a file in place of the folder" 1 "$tool" init "$root/a-file"

echo "wardenctl: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
