; Prompts answered by the script's lines: points, lengths, angles, numbers, texts, keywords, a file name.
(getpoint "\nPoint: ")
10,20
(getpoint '(0 0) "\nSecond point: ")

(getdist '(0 0) "\nLongueur: ")
3,4
(getdist "\nLongueur: ")
12.5
(getangle '(0 0) "\nAngle: ")
0,5
(getorient "\nAngle: ")
45
(list (getreal "\nHauteur: ") (getint "\nNombre: "))
2.5
7
(getstring T "\nNom: ")
borne 12
(progn (initget 1 "Oui Non") (getkword "\nContinuer? [Oui/Non]: "))
n
(getfiled "Fichier de points" "points.csv" "csv" 1)

(vl-catch-all-error-message (vl-catch-all-apply 'getreal '("\nHauteur: ")))
^C
