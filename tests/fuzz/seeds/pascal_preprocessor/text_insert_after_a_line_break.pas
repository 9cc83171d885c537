]Eåÿÿÿus {$I %D4ATE%}]Eåûÿÿÿus {$I %D4AT{$I %D4ATE%}rrrrus {$I %D4ATE%}]4ATEÿus {$I %E%}]Eåÿÿÿus {${$}
{$IF ((ÿ>>I %D1ATE%}rrrrus {$I %D4ALTE%}]4ATEÿus {$I %D4ATE>>>>>>>>>>>>¾>>>{)F}%}rrrrus {$I 
%D4ATE%}]Ì}rrrr