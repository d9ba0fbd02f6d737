// A stand-in for the fastest kill counter we know of: one core, kill lines only. It reads a
// server log, cuts each "Kill:" line's killer and victim ("<killer> killed <victim> by <means>")
// and counts frags and deaths per name, nothing else: no games, no connects, no variables.
// Built and run by hand (docs/PERFORMANCE.md): rustc -O -o kills bench/peer/kills.rs
use std::collections::HashMap;
use std::io::Read;

fn find(hay: &[u8], needle: &[u8]) -> Option<usize> {
    hay.windows(needle.len()).position(|w| w == needle)
}

fn rfind(hay: &[u8], needle: &[u8]) -> Option<usize> {
    hay.windows(needle.len()).rposition(|w| w == needle)
}

fn main() {
    let path = std::env::args().nth(1).expect("usage: kills LOG");
    let mut file = std::fs::File::open(&path).expect("cannot open the log");
    let mut counts: HashMap<Vec<u8>, (u32, u32)> = HashMap::new();
    let mut buffer = vec![0u8; 1 << 20];
    let mut tail: Vec<u8> = Vec::new();
    let mut kills = 0u64;
    loop {
        let got = file.read(&mut buffer).expect("read error");
        if got == 0 {
            break;
        }
        tail.extend_from_slice(&buffer[..got]);
        let mut start = 0;
        while let Some(end) = tail[start..].iter().position(|&b| b == b'\n') {
            let line = &tail[start..start + end];
            start += end + 1;
            // The event word follows the game clock ("  3:07 Kill: ..."): only there is a
            // kill told, so most lines are passed after a few bytes.
            let Some(clock) = line.iter().position(|&b| b == b':') else { continue };
            if line.len() < clock + 10 || &line[clock + 4..clock + 10] != b"Kill: " {
                continue;
            }
            let rest = &line[clock + 10..];
            let Some(colon) = find(rest, b": ") else { continue };
            let names = &rest[colon + 2..];
            let (Some(killed), Some(by)) = (rfind(names, b" killed "), rfind(names, b" by "))
            else {
                continue;
            };
            if by < killed + 8 {
                continue;
            }
            kills += 1;
            counts.entry(names[..killed].to_vec()).or_default().0 += 1;
            counts.entry(names[killed + 8..by].to_vec()).or_default().1 += 1;
        }
        tail.drain(..start);
    }
    println!("{} kills, {} names", kills, counts.len());
}
