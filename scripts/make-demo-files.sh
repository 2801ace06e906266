#!/usr/bin/env bash
# Fills a folder with sample files for trying Ravlek: large sparse files across the
# size criteria (they take no disk space), read-only ones, nested folders, and names
# with blanks and non-ASCII letters.   make-demo-files.sh FOLDER
set -euo pipefail
d=$1
[ -e "$d/.demo-ready" ] && exit 0
mkdir -p "$d/Videos/Holiday 2025" "$d/Disk images" "$d/Music/Björk – live" "$d/Projects/old build/obj" \
         "$d/Downloads" "$d/Документы" "$d/Backups/Read only"
mk() { truncate -s "$2" "$1"; }
mk "$d/Disk images/windows-install.iso" 4700M
mk "$d/Disk images/rescue cd.iso" 660M
mk "$d/Videos/Holiday 2025/beach day.mp4" 1400M
mk "$d/Videos/Holiday 2025/sunset.mp4" 300M
mk "$d/Videos/concert.MP4" 520M
mk "$d/Music/Björk – live/track 01.mp3" 9M
mk "$d/Music/Björk – live/track 02.mp3" 11M
mk "$d/Music/mixtape.Mp3" 120M
mk "$d/Projects/old build/obj/big.pdb" 260M
mk "$d/Projects/old build/app.exe" 4M
mk "$d/Downloads/setup (1).exe" 150M
mk "$d/Downloads/readme" 2K
mk "$d/Документы/отчёт.pdf" 110M
mk "$d/Backups/Read only/system backup.img" 1100M
mk "$d/Backups/Read only/notes.txt" 3K
mk "$d/Backups/exactly 100 MB.bin" 100M
chmod a-w "$d/Backups/Read only/system backup.img" "$d/Backups/Read only/notes.txt"
touch "$d/.demo-ready"
